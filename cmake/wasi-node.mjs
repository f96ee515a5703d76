// Runs a WASI program under node: node wasi-node.mjs PROGRAM.wasm [ARGUMENT...]
// Its standard streams are node's own, its exit status node's, and it may
// open any file (read_check opens its inputs). The global process, not
// node:process, whose import leaves stdin non-blocking.
import { readFileSync } from "node:fs";
import { WASI } from "node:wasi";

const [program, ...args] = process.argv.slice(2);
const wasi = new WASI({ version: "preview1", args: [program, ...args], env: {}, preopens: { "/": "/" }, returnOnExit: true });
const { instance } = await WebAssembly.instantiate(readFileSync(program), { wasi_snapshot_preview1: wasi.wasiImport });
process.exitCode = wasi.start(instance);
