#include "testsupport.h"

namespace {
// A stream buffer that accepts and forgets everything.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};
NullBuffer null_buffer;
}

TraceSilencer::TraceSilencer() : saved(std::cout.rdbuf(&null_buffer)) {}

TraceSilencer::~TraceSilencer() { std::cout.rdbuf(saved); }

int count_occurrences(const std::string& haystack, const std::string& needle)
{
    int count = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + needle.size()))
        ++count;
    return count;
}
