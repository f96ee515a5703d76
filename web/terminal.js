// The page's terminal: runs a program, compiled for WASI, in an xterm.js
// terminal that behaves like a Unix terminal in its usual mode. It echoes
// what is typed, Backspace mends the line, Enter sends it, Ctrl-D at the
// start of a line is the end of input, and Ctrl-C stops the program. The
// program waits for a line, and a long output for the screen, through
// binaryen's asyncify: the program unwinds out of the call, and once the
// wait is over rewinds into it. PROGRAMS, each program's file in base64,
// stands before this script. The WASI layer is these few calls, all that
// the programs import.
"use strict";

const terminal = new Terminal({ convertEol: true, scrollback: 100000 });
terminal.open(document.getElementById("terminal"));
window.terminal = terminal; // for the curious, and the browser test
const status = document.getElementById("status");
const again = document.getElementById("again");

const SUCCESS = 0, BADF = 8, SPIPE = 70, CHARACTER_DEVICE = 2;
const NORMAL = 0, UNWINDING = 1, REWINDING = 2;
const SCREENFUL = 1 << 16; // the output that may wait for the screen
class Exit { constructor(code) { this.code = code; } }

let input = [];  // the lines sent, as bytes; an empty one is an end of input
let line = "";   // the line being typed
let wake = null; // ends the program's wait
let running = null;

terminal.onData(data => {
  if (!running) return;
  for (const key of data) {
    if (key === "\r") { terminal.write("\r\n"); send(line + "\n"); }
    else if (key === "\x04") send(line);
    else if (key === "\x7f" || key === "\b") {
      if (line) { line = line.slice(0, -1); terminal.write("\b \b"); }
    } else if (key === "\x03") { terminal.write("^C\r\n"); stop(); }
    else if (key >= " ") { line += key; terminal.write(key); }
  }
});

function stop() {
  running.stopped = true;
  wake?.();
}

function send(text) {
  input.push(new TextEncoder().encode(text));
  line = "";
  wake?.();
}

// The screen once all that was written to it is drawn.
const drawn = () => new Promise(resolve => terminal.write("", resolve));

async function run(name, state) {
  const bytes = Uint8Array.from(atob(PROGRAMS[name]), c => c.charCodeAt(0));
  let exports, memory, data, waiting, queued = 0;
  const view = () => new DataView(memory.buffer);
  // Ends a rewind, as the first statement of each call that may wait:
  // true where the call resumes after its wait.
  function rewound() {
    if (exports.asyncify_get_state() !== REWINDING) return false;
    exports.asyncify_stop_rewind();
    return true;
  }
  const standard = fd => fd === 0 || fd === 1 || fd === 2;
  function wait(promise) {
    waiting = promise;
    exports.asyncify_start_unwind(data);
  }
  // Each (pointer, length) of an iovec array, as byte arrays on memory.
  const buffers = (iovs, count) => Array.from({ length: count }, (_, i) =>
    new Uint8Array(memory.buffer, view().getUint32(iovs + 8 * i, true), view().getUint32(iovs + 8 * i + 4, true)));
  const wasi = {
    fd_read(fd, iovs, count, read) {
      const resuming = rewound();
      if (fd !== 0) return BADF;
      if (!resuming && !input.length) { wait(new Promise(resolve => wake = resolve)); return SUCCESS; }
      let taken = 0; // a read takes at most one line, as a terminal's does
      for (const buffer of buffers(iovs, count)) {
        const part = input[0].subarray(0, buffer.length);
        buffer.set(part);
        input[0] = input[0].subarray(part.length);
        taken += part.length;
        if (!input[0].length) break;
      }
      if (!input[0].length) input.shift();
      view().setUint32(read, taken, true);
      return SUCCESS;
    },
    fd_write(fd, iovs, count, written) {
      const resuming = rewound();
      if (fd !== 1 && fd !== 2) return BADF;
      if (!resuming && queued > SCREENFUL) {
        queued = 0;
        wait(drawn());
        return SUCCESS;
      }
      let total = 0;
      for (const buffer of buffers(iovs, count)) {
        terminal.write(buffer.slice());
        total += buffer.length;
      }
      queued += total;
      view().setUint32(written, total, true);
      return SUCCESS;
    },
    fd_fdstat_get(fd, stat) { // a terminal: no seeking
      if (!standard(fd)) return BADF;
      new Uint8Array(memory.buffer, stat, 24).fill(0);
      view().setUint8(stat, CHARACTER_DEVICE);
      return SUCCESS;
    },
    fd_seek: fd => standard(fd) ? SPIPE : BADF,
    fd_close: () => SUCCESS,
    proc_exit(code) { throw new Exit(code); },
  };
  const { instance } = await WebAssembly.instantiate(bytes, { wasi_snapshot_preview1: wasi });
  exports = instance.exports;
  memory = exports.memory;
  // Where asyncify saves the stack while the program waits: in its own data.
  data = exports.asyncify_data();
  for (;;) {
    try {
      exports._start();
    } catch (error) {
      if (error instanceof Exit) return error.code;
      throw error;
    }
    if (exports.asyncify_get_state() === NORMAL) return 0;
    exports.asyncify_stop_unwind();
    await waiting;
    wake = null;
    if (state.stopped) return null;
    exports.asyncify_start_rewind(data);
  }
}

let choices = 0; // the latest choice wins; one program runs at a time
async function choose() {
  const name = location.hash.slice(1);
  if (!Object.hasOwn(PROGRAMS, name)) return;
  const choice = ++choices;
  while (running) {
    const previous = running;
    stop();
    await previous.ended;
    if (choice !== choices) return;
  }
  terminal.reset();
  terminal.focus();
  input = [];
  line = "";
  again.hidden = true;
  status.textContent = `${name} is running.`;
  const current = running = { stopped: false };
  current.ended = run(name, current).then(async code => {
    await drawn(); // the last output, before the end is told or the next run's screen
    status.textContent = code === null ? `${name} was stopped.` : `${name} ended with exit status ${code}.`;
  }, error => {
    status.textContent = `${name} failed: ${error}`;
  }).finally(() => {
    if (running === current) running = null;
    again.hidden = false;
  });
}

again.onclick = choose;
window.onhashchange = choose;
choose();
