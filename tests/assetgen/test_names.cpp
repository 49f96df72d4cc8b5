// Tests of the generated names file, read with the show's own names reader.
#include <gtest/gtest.h>

#include "file.h"
#include "font.h"
#include "showfiles.h"
#include "testsupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace {

constexpr size_t ENOUGH_NAMES = 40;   // the sky boats go through names five at a time for the whole show

// The names the show reads from names.txt.
std::vector<std::string> show_names()
{
    std::ifstream file(NAMES_FILE);
    EXPECT_TRUE(file.is_open()) << NAMES_FILE;
    TEXT names;
    TraceSilencer quiet;
    read_names(file, names);
    return names.lines;
}

TEST(Names, FileYieldsEnoughDistinctNamesWrittenInTheDotFont)
{
    const std::vector<std::string> names = show_names();
    EXPECT_GE(names.size(), ENOUGH_NAMES);
    const std::string font(charmap);
    for (const std::string& name : names) {
        EXPECT_FALSE(name.empty()) << "an empty name: two commas in a row";
        for (char c : name)
            EXPECT_NE(font.find(c), std::string::npos) << "'" << c << "' of \"" << name << "\" is not in the font";
    }
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size()) << "a name repeats";
}

TEST(Names, EveryLineEndsWithACommaSoNoNameIsDropped)
{
    std::ifstream file(NAMES_FILE, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
    size_t lines = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', end + 1), ++lines)
        EXPECT_TRUE(end > 0 && text[end - 1] == ',') << "line " << lines + 1 << " leaves its last name out";
    EXPECT_LT(lines, show_names().size()) << "several names share a line";
}

}  // namespace
