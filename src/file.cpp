#include "file.h"

#include "show_end.h"
#include "showfiles.h"
#include "trace.h"

#include <fstream>

TEXT _text;

// The names read at start-up.
TEXT& text()
{
    return _text;
}

// Reads the names of `in` line by line: every comma ends a name, text after a line's last comma is dropped.
void read_names(std::istream& in, TEXT& names)
{
    std::string line;
    while (in.good()) {   // the end test comes before each read; a failing stream ends it too
        std::getline(in, line);
        trace() << line << std::endl;
        std::string name;
        for (char c : line) {
            if (c == '\0')
                break;
            if (c != ',') {
                name += c;
                continue;
            }
            trace() << name << std::endl;
            names.lines.push_back(name);
            name.clear();
        }
    }
}

// Reads "names.txt" into the global names list, or ends the program when it cannot be opened.
void init_text()
{
    std::ifstream file(NAMES_FILE);
    if (!file.is_open()) {
        trace() << "Error opening names.txt." << std::endl;
        end_show(1);
    }
    trace() << "TEXT GO: " << std::endl;
    read_names(file, _text);
}
