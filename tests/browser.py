"""The page in real browsers, Chromium and WebKit: at each program's address,
opened from disk and from a web server on 127.0.0.1, its dialogue from its
table is typed key by key, and the screen read back must be what a Unix
terminal shows, with the exit status beside it. So must a slip mended with
Backspace, calendar's two answers on one line, Ctrl-D at the first prompt
(the table's no-input case) and a listing of 1,000 days, whole. Run under
Xvfb, for WebKit.

    browser.py PAGE PROGRAM..."""

import functools
import http.server
import os
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from cases.calendar import listing_problem
from check import prompts_of, table_of

WAIT_SECONDS = 60  # only to catch a hang
# The terminal's lines, each wrapped one joined up and its trailing blanks
# gone, as on a Unix terminal's screen.
SCREEN = """const buffer = terminal.buffer.active, lines = [];
for (let i = 0; i < buffer.length; i++) {
  const line = buffer.getLine(i), text = line.translateToString(!buffer.getLine(i + 1)?.isWrapped);
  if (line.isWrapped) lines[lines.length - 1] += text; else lines.push(text);
}
return lines.map(line => line.trimEnd()).join("\\n").trimEnd();"""


def seen(text):
    return "\n".join(line.rstrip() for line in text.split("\n")).rstrip()


def cases(program):
    """(case, answers as (prompt, keys), what the screen shows, or a check of it)"""
    table = table_of(program)
    typed = [(prompt, line + "\n") for prompt, line in table.DIALOGUE]
    dialogue = "".join(prompt + line for prompt, line in typed) + table.RESULT
    yield "its dialogue", typed, dialogue
    if typed:
        yield "a slip mended with Backspace", [(typed[0][0], "7" + Keys.BACKSPACE + typed[0][1])] + typed[1:], dialogue
    if table.DIALOGUE:
        no_input = next(result for name, _, result in table.GOLDEN if name == "no-input")
        yield "Ctrl-D at the first prompt", [(table.DIALOGUE[0][0], Keys.CONTROL + "d")], prompts_of(table) + no_input
    if len(typed) == 2:
        (first, first_line), (second, second_line) = typed
        both = f"{first_line.strip()} {second_line}"
        yield "both answers on one line", [(first, both)], first + both + second + table.RESULT
    if program == "calendar":
        head = f"{typed[0][0]}1000\n{typed[1][0]}1\n"
        yield "1,000 days", [(typed[0][0], "1000\n"), (typed[1][0], "1\n")], \
            lambda screen: listing_problem(screen[len(head):] + "\n", 1, 999) if screen.startswith(head) else "no prompts"


def waited(condition, what):
    deadline = time.monotonic() + WAIT_SECONDS
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise TimeoutError(f"no {what} after {WAIT_SECONDS} s")
        time.sleep(0.05)
    return value


def problems(driver, address, program, answers, expected):
    driver.get("about:blank")  # a new page, not a move within this one
    driver.get(f"{address}#{program}")
    status = driver.find_element(By.ID, "status")
    keyboard = driver.find_element(By.CSS_SELECTOR, ".xterm-helper-textarea")
    for prompt, keys in answers:
        waited(lambda: driver.execute_script(SCREEN).endswith(seen(prompt)), f"prompt {prompt!r}")
        for key in [keys] if keys.startswith(Keys.CONTROL) else keys:
            keyboard.send_keys(Keys.ENTER if key == "\n" else key)
    waited(lambda: "ended" in status.text, "end")
    screen = driver.execute_script(SCREEN)
    found = [] if status.text == f"{program} ended with exit status 0." else [f"status {status.text!r}"]
    if callable(expected):
        return found + ([why] if (why := expected(screen)) else [])
    return found + ([] if screen == seen(expected) else [f"screen {screen!r}, expected {seen(expected)!r}"])


def browsers():
    chromium = webdriver.ChromeOptions()
    chromium.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync"):
        chromium.add_argument(flag)
    yield "Chromium", lambda: webdriver.Chrome(options=chromium)
    yield "WebKit", lambda: webdriver.WebKitGTK(options=webdriver.WebKitGTKOptions())


def main(page, *programs):
    folder, name = os.path.split(os.path.abspath(page))
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *_):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    failed = run = 0
    for browser, start in browsers():
        driver = start()
        try:
            for address in (f"file://{folder}/{name}", f"http://127.0.0.1:{server.server_port}/{name}"):
                for program in programs:
                    for case, answers, expected in cases(program):
                        run += 1
                        try:
                            found = problems(driver, address, program, answers, expected)
                        except TimeoutError as error:
                            found = [str(error)]
                        if found:
                            failed += 1
                            print(f"FAIL {browser} {address}#{program} {case}: " + "; ".join(found))
        finally:
            driver.quit()
    print(f"page: {run - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
