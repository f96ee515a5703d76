"""The one way the checks start a program: its typed input from a file, or
its prompts answered one by one, through pipes or on a pseudo-terminal,
natively or through a launcher (an emulator, or chroot). What a Windows
program's runtime does its own way is handled here too."""

import contextlib
import fcntl
import functools
import os
import re
import resource
import select
import subprocess
import tempfile
import termios
import threading
import time
from typing import NamedTuple, Optional

# A run still going after this has hung: a program ends in milliseconds, or
# a few seconds for the longest listings that the checks read to the end,
# and many times that on a busy machine or under an emulator.
RUN_SECONDS = 60

# What stdin or stdout may be besides a path: closed when the program
# starts, or a pipe whose reader has already gone. For stdin alone, a
# pseudo-terminal that is stdout too, live or already hung up, or one that
# is stdin alone and hangs up once the answers are typed, the program
# waiting in a read for more; for stdout alone, a temporary file, read
# back as the output.
CLOSED = "closed"
BROKEN_PIPE = "broken pipe"
TERMINAL = "terminal"
HUNG_UP = "hung-up terminal"
HANGS_UP_IN_READ = "terminal that hangs up in a read"
FILE = "file"

# Other C libraries' names for these errors: Windows' runtime's, under Wine, and wasi-libc's under node.
OTHER_REASONS = {
    "windows": dict.fromkeys([("write", "Broken pipe"), ("write", "File too large"), ("read", "Bad file descriptor"),
                              ("read", "Is a directory")], "Invalid argument"),
    "wasi": {("read", "Is a directory"): "Bad file descriptor", ("read", "Input/output error"): "I/O error",
             ("write", "Input/output error"): "I/O error"}}
F_SETPIPE_SZ = getattr(fcntl, "F_SETPIPE_SZ", 1031)  # Python 3.10 names it


class Hung(Exception):
    """A run that did not go on by itself in time; the program has been killed."""


class Ran(NamedTuple):
    output: bytes  # with LF line ends where a Windows program wrote CR LF
    errors: bytes
    status: int  # -N for a death by signal N
    writes: Optional[int]  # the write calls it made, where Linux counts them
    taken: Optional[int]  # the bytes it took from a file of typed input


class Program:
    """The program under test, run as [launcher ...] program."""

    def __init__(self, command, system=None):
        self.command = command
        self.name = os.path.splitext(os.path.basename(command[-1]))[0]
        self.system = system  # "windows" or "wasi", or None for Linux
        self.windows = system == "windows"
        self.emulated = len(command) > 1

    def error_line(self, what, reason):
        """The one stderr line of a failed 'read' or 'write'."""
        reason = OTHER_REASONS.get(self.system, {}).get((what, reason), reason)
        return f"{self.name}: {what} error: {reason}\n".encode()

    def run(self, typed=b"", arguments=(), **how):
        """Runs the program, with arguments, on typed, or as _run says."""
        command = [*self.command, *arguments]
        ran = self._run(typed, command, **how)
        if self.windows:
            # Now and then, about once in a thousand runs, Wine starts a
            # program without its standard handles, and it writes nothing at
            # all. Every run of these programs writes something, so such a
            # run is made once more, and a program that is silent twice fails.
            if not ran.output and not ran.errors:
                ran = self._run(typed, command, **how)
            ran = ran._replace(output=crlf_to_lf(ran.output), errors=crlf_to_lf(ran.errors))
        return ran

    def _run(self, typed, command, answers=None, stdin=None, stdout=None, read_limit=None,
             sigpipe_default=False, size_limit=None):
        """Runs the program on typed, or types each (prompt, line) of answers
        once the prompt is written. Reads stdout to its end, or read_limit
        bytes of it and then closes it; such a pipe holds only a page, so
        that little waits in it then. SIGPIPE and SIGXFSZ stay ignored, as
        Python has them, unless sigpipe_default. size_limit is the largest
        file that the program may write. Raises Hung after RUN_SECONDS."""
        deadline = time.monotonic() + RUN_SECONDS
        with contextlib.ExitStack() as stack:
            def temporary(content=b""):
                file = stack.enter_context(tempfile.TemporaryFile())
                file.write(content)
                file.seek(0)
                return file

            def ours(fd, mode):  # closed when the run is over, or before
                return stack.enter_context(os.fdopen(fd, mode, buffering=0))

            theirs = []  # closed here once the program has them
            stack.callback(lambda: [os.close(fd) for fd in theirs])
            talk = listen = None
            child_in = child_out = None
            if stdin in (TERMINAL, HUNG_UP, HANGS_UP_IN_READ):
                try:
                    controller, terminal = os.openpty()
                except OSError as error:
                    raise OSError(f"no pseudo-terminal can be opened: {error}") from None
                child_in = terminal
                if stdin is HUNG_UP:
                    os.close(controller)
                else:
                    talk = ours(controller, "r+b")
                theirs.append(terminal)
                if stdin is HANGS_UP_IN_READ:
                    veof = termios.tcgetattr(terminal)[6][termios.VEOF]
                    answers = [(prompt, line + veof.decode()) for prompt, line in answers]
                else:
                    child_out, listen = terminal, talk
            elif answers is not None:
                child_in, writer = os.pipe()
                theirs.append(child_in)
                talk = ours(writer, "wb")
            elif stdin is None:
                child_in = temporary(typed)
            elif stdin is not CLOSED:
                child_in = os.open(stdin, os.O_RDONLY)
                theirs.append(child_in)
            if child_out is None:
                if stdout in (None, BROKEN_PIPE):
                    reader, child_out = os.pipe()
                    theirs.append(child_out)
                    if stdout is BROKEN_PIPE:
                        os.close(reader)
                    else:
                        listen = ours(reader, "rb")
                        if read_limit is not None:
                            fcntl.fcntl(reader, F_SETPIPE_SZ, resource.getpagesize())
                elif stdout is FILE:
                    child_out = temporary()
                elif stdout is not CLOSED:
                    child_out = os.open(stdout, os.O_WRONLY)
                    theirs.append(child_out)
            closed = [fd for fd, given in ((0, stdin), (1, stdout)) if given is CLOSED]
            # A pipe, where a size limit cannot cut the errors short.
            errors_pipe, errors = os.pipe()
            theirs.append(errors)
            errors_pipe = ours(errors_pipe, "rb")

            def before_exec():
                for fd in closed:
                    os.close(fd)
                if size_limit is not None:
                    resource.setrlimit(resource.RLIMIT_FSIZE, (size_limit, size_limit))

            process = stack.enter_context(subprocess.Popen(
                command, stdin=child_in, stdout=child_out, stderr=errors,
                restore_signals=sigpipe_default,
                preexec_fn=before_exec if closed or size_limit is not None else None))
            while theirs:
                os.close(theirs.pop())
            try:
                in_read = functools.partial(waiting_in_read, process.pid, deadline) \
                    if stdin is HANGS_UP_IN_READ else None
                output = converse(talk, listen, answers or [], read_limit, deadline, in_read)
                writes = wait_counting_writes(process, deadline)
            except Hung:
                process.kill()
                raise
            if stdout is FILE:
                child_out.seek(0)
                output = child_out.read()
            # What it wrote before it ended, not what a child of Wine's holds open.
            os.set_blocking(errors_pipe.fileno(), False)
            errors = errors_pipe.read() or b""
            taken = os.lseek(child_in.fileno(), 0, os.SEEK_CUR) if stdin is None and answers is None else None
            return Ran(output, errors, process.wait(), writes, taken)


def crlf_to_lf(text):
    """Windows text output with LF for CR LF. A bare LF, which Windows' text
    mode never writes, becomes a mark that no expected output holds."""
    return re.sub(rb"\r?\n", lambda end: b"\n" if end[0] == b"\r\n" else b"<LF without CR>", text)


def converse(talk, listen, answers, read_limit, deadline, in_read=None):
    """Types each answer into talk once its prompt has come out of listen,
    then reads listen to its end or to read_limit, and closes both. With
    in_read, talk is a terminal's controller, closed only once the program
    waits in a read for more than was typed."""
    output = bytearray()
    for prompt, line in answers:
        if not read_until(listen, output, deadline, prompt.encode()):
            break  # it ended without the prompt; its check sees what it wrote
        waiting = in_read() if in_read else None
        talk.write(line.encode())
        if in_read:  # the end-of-file character is not read
            in_read((waiting, len(line) - 1))
    if talk is not None and talk is not listen:
        talk.close()
    if listen is not None:
        read_until(listen, output, deadline, limit=read_limit)
        listen.close()
    return bytes(output)


def read_until(file, output, deadline, ending=None, limit=None):
    """Reads file into output until output ends with ending, or else to the
    end of file or to limit bytes; True if it read to ending. Raises Hung at
    deadline."""
    while ending is None or not output.endswith(ending):
        if limit is not None and len(output) >= limit:
            break
        if not select.select([file], [], [], max(0.0, deadline - time.monotonic()))[0]:
            raise Hung(f"still running after {RUN_SECONDS} s, having written {bytes(output[-200:])!r}")
        try:
            chunk = file.read(1 << 16 if limit is None else min(1 << 16, limit - len(output)))
        except OSError:  # a terminal whose program has ended
            chunk = b""
        if not chunk:
            break
        output += chunk
    return ending is not None and output.endswith(ending)


def syscall_of(task):
    """A sleeping task's system call and its arguments, or ["running"]."""
    with open(f"/proc/{task}/syscall") as state:
        return state.read().split()


@functools.cache
def read_call():
    """This machine's number of read(2), as /proc shows it of a thread of
    ours that waits in one; under qemu-user a program's read is the host's."""
    reader, writer = os.pipe()
    waiting = threading.Thread(target=os.read, args=(reader, 1))
    waiting.start()
    while (call := syscall_of(f"self/task/{waiting.native_id}"))[1:2] != [hex(reader)]:
        time.sleep(0.001)
    os.write(writer, b"x")
    waiting.join()
    os.close(reader)
    os.close(writer)
    return call[0]


def waiting_in_read(pid, deadline, after=None):
    """Waits until the program sleeps in a read of its stdin and returns the
    bytes it has read so far. Given what this returned before an answer was
    typed, and the answer's length, it waits until such a read comes again
    once the answer is read: the read that waits for more. Sleeping, not
    merely preempted in the read that took the answer, whose count already
    holds it: hung up before the next read begins, that read would meet the
    end of input, not an error. The count is read first: the read seen
    sleeping after it has grown is a later one than the read that took the
    answer, which may be seen sleeping just before it returns. Any other
    call that sleeps, such as an emulator's own, is not the read."""
    read_before, typed = after or (0, 0)
    while time.monotonic() < deadline:
        read = io_count(pid, "rchar")
        if syscall_of(pid)[:2] == [read_call(), "0x0"] and read >= read_before + typed:
            return read
        time.sleep(0.001)
    raise Hung(f"not waiting in a read after {RUN_SECONDS} s")


def wait_counting_writes(process, deadline):
    """Waits for the program to end, reaps it and returns the count of write
    calls it made; None where that cannot be read. The kernel adds a reaped
    child's counts to its parent's, so the count is the growth of our own
    across the reap, in which we make no write call; any user may read it.
    Raises Hung at deadline."""
    ended = os.pidfd_open(process.pid)
    try:
        if not select.select([ended], [], [], max(0.0, deadline - time.monotonic()))[0]:
            raise Hung(f"still running after {RUN_SECONDS} s")
    finally:
        os.close(ended)
    try:
        before = io_count("self", "syscw")
    except OSError:
        before = None
    _, status = os.waitpid(process.pid, 0)
    process.returncode = os.waitstatus_to_exitcode(status)
    return None if before is None else io_count("self", "syscw") - before


def io_count(pid, field):
    """A count from /proc/<pid>/io, such as rchar or syscw."""
    with open(f"/proc/{pid}/io") as io:
        return next(int(line.split()[1]) for line in io if line.startswith(f"{field}:"))
