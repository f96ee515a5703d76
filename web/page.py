"""Makes the page, one HTML file that holds all it needs: page.html with
xterm.js and its styles, the programs in base64, terminal.js, and the
programs' one-line descriptions from the README's table. The script's hash
goes in the page's Content-Security-Policy, which allows no other script
and no request at all. The same inputs make the same file, byte for byte.

    page.py OUTPUT VERSION XTERM NOTICES PROGRAM.wasm..."""

import base64
import hashlib
import html
import json
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def read(path):
    with open(path, encoding="utf-8") as file:
        return file.read()


def main(output, version, xterm, notices, *programs):
    names = [os.path.basename(program).removesuffix(".wasm") for program in programs]
    table = re.findall(r"^\| `(\w+)` \| (.+) \| (.+) \|$", read(f"{HERE}/../README.md"), re.M)
    rows = {name: cells for name, *cells in table}
    items = []
    for name in names:
        asks, writes = (re.sub(r"`([^`]*)`", r"<code>\1</code>", html.escape(cell, quote=False)) for cell in rows[name])
        items.append(f'<li><a href="#{name}"><code>{name}</code></a> asks for {asks} and writes {writes}.</li>')
    wasm = {name: base64.b64encode(open(program, "rb").read()).decode() for name, program in zip(names, programs)}
    # A source map is fetched only by a browser's tools, but it is a request.
    xterm_js = re.sub(r"\n//# sourceMappingURL=.*\s*$", "\n", read(f"{xterm}/lib/xterm.js"))
    script = f"{xterm_js}\nconst PROGRAMS = {json.dumps(wasm, indent=0)};\n{read(f'{HERE}/terminal.js')}"
    # Either would end the script, or change how the browser reads it.
    if re.search(r"</script|<!--", script, re.I):
        raise SystemExit("page.py: a script holds </script or <!--")
    digest = base64.b64encode(hashlib.sha256(script.encode()).digest()).decode()
    fields = {"version": version, "script_hash": f"'sha256-{digest}'", "xterm_css": read(f"{xterm}/css/xterm.css"),
              "programs": "\n".join(items), "script": script,
              "notices": f"consoletools {version}:\n{read(f'{HERE}/../LICENSES/MIT.txt')}\n"
              f"xterm.js {json.load(open(f'{xterm}/package.json'))['version']}:\n{read(f'{xterm}/LICENSE')}\n{read(notices)}"}
    page = re.sub(r"@(\w+)@", lambda field: fields[field[1]], read(f"{HERE}/page.html"))
    with open(output, "w", encoding="utf-8", newline="\n") as file:
        file.write(page)


if __name__ == "__main__":
    main(*sys.argv[1:])
