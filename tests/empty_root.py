"""A static program must need nothing but itself: in a chroot to a folder
that holds only a copy of it (no libc, no loader, not even /dev), it must
hold its typical dialogue exactly. Without root, a user namespace gives the
right to chroot; where neither is there, the check is skipped.

    empty_root.py <folder to make> <program>"""

import os
import re
import shutil
import subprocess
import sys

from dialogues import DIALOGUES, typed_answers
from harness import SKIP_STATUS, program_name, report


def main():
    root, path = sys.argv[1:]
    program = program_name([path])
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    shutil.copy2(path, root)
    chroot = ["chroot", root] if os.geteuid() == 0 else ["unshare", "--map-root-user", "chroot", root]
    result = subprocess.run(chroot + ["/" + os.path.basename(path)], input=typed_answers(program),
                            capture_output=True, timeout=60)
    if re.match(rb"unshare: unshare failed|chroot: cannot change root", result.stderr):
        print(f"skipped: {result.stderr.decode().strip()}")
        return SKIP_STATUS
    steps, expected = DIALOGUES[program]
    wanted = (0, ("".join(prompt for prompt, _ in steps) + expected).encode(), b"")
    got = (result.returncode, result.stdout, result.stderr)
    return report(program, [None if got == wanted else f"in an empty root: status, stdout, stderr {got!r}"])


if __name__ == "__main__":
    sys.exit(main())
