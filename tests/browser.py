"""browser.py PAGE PROGRAM...: the page in Chromium and WebKit (under Xvfb), from disk and from
127.0.0.1. At each program's address, check.py's terminal dialogues, a slip mended with Backspace
and the longest golden case (for calendar, 30,000 days) are typed key by key: the screen must be a
Unix terminal's, with exit status 0. The page asks for nothing but itself: a fetch of its own address
is refused, an injected inline script does not run, and the server sees no other request. A long
answer is stopped with Ctrl-C and the program run again."""

import http.server
import os
import sys
import threading

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from check import table_of, terminal_dialogues

KEYS = {"\n": Keys.ENTER, "\x04": Keys.CONTROL + "d", "\x7f": Keys.BACKSPACE, "\x03": Keys.CONTROL + "c"}
AGAIN = None  # a step's prompt: once the program was stopped, "Run it again" is clicked
# The screen's lines, a wrapped one joined up, with no trailing blanks.
SCREEN = """const b = terminal.buffer.active, lines = [];
for (let i = 0; i < b.length; i++) {
  const text = b.getLine(i).translateToString(!b.getLine(i + 1)?.isWrapped);
  if (b.getLine(i).isWrapped) lines[lines.length - 1] += text; else lines.push(text);
}
return lines.map(line => line.trimEnd()).join("\\n").trimEnd();"""


def dialogues(table):
    """(case, each (prompt, typed) step, the screen)"""
    yield from terminal_dialogues(table)
    first, *later = [prompt for prompt, _ in table.DIALOGUE] or [""]
    name, typed, result = max(table.GOLDEN, key=lambda case: len(case[2]))
    yield f"golden {name}", [(first, typed)], first + typed + "".join(later) + result
    if table.DIALOGUE:
        (case, steps, screen), *_ = terminal_dialogues(table)
        yield "a slip mended with Backspace", [(first, steps[0][1][0] + "7\x7f" + steps[0][1][1:]), *steps[1:]], screen
    # calendar's long answer, 29 GB, outlasts any test; evensquares' 400 KB may end before Ctrl-C comes.
    if table.__name__ == "cases.calendar":
        yield "a long answer stopped with Ctrl-C, then run again", [(first, table.LONG_ANSWER + "9\n\x03"), (AGAIN, ""),
                                                                     *steps], screen


def problems(driver, address, steps, screen):
    driver.get("about:blank")  # a new page, not a move within this one
    driver.get(address)
    keyboard = driver.find_element(By.CSS_SELECTOR, ".xterm-helper-textarea")
    waiting = WebDriverWait(driver, 60, 0.05)  # only to catch a hang
    status = driver.find_element(By.ID, "status")

    def shows(text, what):  # fails at once where the program failed
        return waiting.until(lambda _: "failed" in status.text or text(), what) and "failed" not in status.text

    for prompt, typed in steps:
        if prompt is AGAIN:
            if not shows(lambda: "was stopped" in status.text, "not stopped"):
                break
            driver.find_element(By.ID, "again").click()
            continue
        if not shows(lambda: driver.execute_script(SCREEN).endswith(prompt.rstrip()), f"no prompt {prompt!r}"):
            break
        for key in typed:
            keyboard.send_keys(KEYS.get(key, key))
    shows(lambda: "ended" in status.text, "no end")
    found = [] if status.text.endswith(" ended with exit status 0.") else [f"status {status.text!r}"]
    shown, screen = driver.execute_script(SCREEN), "\n".join(line.rstrip() for line in screen.split("\n")).rstrip()
    return found + ([f"screen {shown[:400]!r}, expected {screen[:400]!r}"] if shown != screen else [])


def main(page, *programs):
    chromium = webdriver.ChromeOptions()
    for flag in ("headless=new no-sandbox disable-gpu disable-dev-shm-usage no-first-run disable-sync "
                 "disable-background-networking disable-component-update").split():
        chromium.add_argument(f"--{flag}")
    folder, name = os.path.split(os.path.abspath(page))
    os.chdir(folder)  # which the server serves
    requested = []

    class Handler(http.server.SimpleHTTPRequestHandler):
        def log_request(self, *_):
            requested.append(self.path)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    failed = run = 0
    for browser, start in (("Chromium", lambda: webdriver.Chrome(options=chromium)),
                           ("WebKit", lambda: webdriver.WebKitGTK(options=webdriver.WebKitGTKOptions()))):
        driver = start()
        for address in (f"file://{folder}/{name}", f"http://127.0.0.1:{server.server_port}/{name}"):
            for program in programs:
                for case, steps, screen in dialogues(table_of(program)):
                    run += 1
                    try:
                        found = problems(driver, f"{address}#{program}", steps, screen)
                    except TimeoutException as error:  # every later case would likely hang too
                        print(f"FAIL {browser} {address}#{program} {case}: {error.msg}; the later cases not run")
                        driver.quit()
                        return 1
                    if found:
                        failed += 1
                        print(f"FAIL {browser} {address}#{program} {case}: " + "; ".join(found))
            run += 1
            fetched = driver.execute_async_script(
                "fetch(location.href).then(() => arguments[0]('fetched'), () => arguments[0]('refused'))")
            injected = driver.execute_script("const s = document.createElement('script'); s.textContent = "
                                             "'window.injected = 1'; document.body.append(s); return window.injected")
            if fetched != "refused" or injected:
                failed += 1
                print(f"FAIL {browser} {address}: the page fetched its own address, or ran an injected script")
        driver.quit()
    if set(requested) != {f"/{name}"}:
        failed += 1
        print(f"FAIL the server was asked for {sorted(set(requested))}, not only /{name}")
    print(f"page: {run - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
