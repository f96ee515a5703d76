// The data of binaryen's asyncify for the page's terminal (terminal.js):
// where a program's stack is kept while it waits, after the two pointers
// that bound it. It lies in the program's own data, which malloc's heap,
// taking the memory past that data, never reaches.
struct AsyncifyData {
    unsigned char *next;
    unsigned char *end;
    alignas(16) unsigned char stack[4096];
};

namespace {
AsyncifyData data = {data.stack, data.stack + sizeof data.stack, {}};
} // namespace

extern "C" [[clang::export_name("asyncify_data")]] AsyncifyData *asyncify_data()
{
    return &data;
}
