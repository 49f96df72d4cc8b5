// The names list, read from "names.txt" at start-up.
#ifndef FILE_H
#define FILE_H

#include <istream>
#include <string>
#include <vector>

// The names, in file order.
class TEXT {
public:
    std::vector<std::string> lines;
};

extern TEXT _text;

// The global names list.
TEXT& text();

// Reads "names.txt" into the global list; a file that cannot be opened ends the program (status 1).
void init_text();

// Appends the names of `in` to `names`, echoing every line and name to the trace.
void read_names(std::istream& in, TEXT& names);

#endif
