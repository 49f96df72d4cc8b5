// The names file: how lines and commas become names, and what the trace shows of them.
#include "file.h"
#include "testsupport.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

using Names = std::vector<std::string>;

// The names read from `content`, with the trace written while reading it.
std::pair<Names, std::string> read(const std::string& content)
{
    std::istringstream in(content);
    TEXT names;
    TraceCapture trace;
    read_names(in, names);
    return {names.lines, trace.text()};
}

TEST(NamesFile, EveryCommaEndsANameAndTheRestOfTheLineIsIgnored)
{
    const struct {
        const char* content;
        Names names;
    } cases[] = {
        {"Ann,Bob,\nCy,Dee", {"Ann", "Bob", "Cy"}},
        {"Ann,Bob", {"Ann"}},
        {",,\n", {"", ""}},
        {",Ann,", {"", "Ann"}},
        {" Ann ,", {" Ann "}},
        {"no comma here\n\n", {}},
        {"", {}},
        {"A-b c!,", {"A-b c!"}},
        {"Ann,Bob,\r\nCy,\r\n", {"Ann", "Bob", "Cy"}},   // the carriage return follows the last comma
        {"Ann\r,", {"Ann\r"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(c.content).first, c.names) << "file '" << c.content << "'";
}

TEST(NamesFile, ZeroByteEndsItsLineOnly)
{
    const std::string content("Ann,B\0ob,Cy,\nDee,\n", 18);
    EXPECT_EQ(read(content).first, (Names{"Ann", "Dee"}));
}

TEST(NamesFile, TraceEchoesEachLineThenItsNames)
{
    EXPECT_EQ(read("Ann,Bob,\n").second, "Ann,Bob,\nAnn\nBob\n\n");
    EXPECT_EQ(read("Ann,Bob").second, "Ann,Bob\nAnn\n");
    EXPECT_EQ(read("").second, "\n");
}

TEST(NamesFile, NamesAddToThoseAlreadyRead)
{
    TEXT names;
    names.lines.push_back("Zed");
    std::istringstream in("Ann,\n");
    TraceSilencer quiet;
    read_names(in, names);
    EXPECT_EQ(names.lines, (Names{"Zed", "Ann"}));
}

// Runs the start-up reading of names.txt in a fresh folder holding `content`.
class NamesStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quoravint-names-XXXXXX";
        folder = mkdtemp(pattern);
        previous = getcwd(nullptr, 0);
        ASSERT_EQ(chdir(folder.c_str()), 0);
        saved = text().lines;
        text().lines.clear();
    }
    void TearDown() override
    {
        text().lines = saved;
        EXPECT_EQ(chdir(previous), 0);
        std::free(previous);
        std::remove((folder + "/names.txt").c_str());
        rmdir(folder.c_str());
    }

    std::string folder;
    char* previous = nullptr;
    Names saved;
};

TEST_F(NamesStartup, StartupFillsTheGlobalList)
{
    std::ofstream("names.txt") << "Ann,Bob,\nCy,";
    TraceCapture trace;
    init_text();
    EXPECT_EQ(text().lines, (Names{"Ann", "Bob", "Cy"}));
    EXPECT_EQ(&text(), &_text);
    EXPECT_EQ(trace.text(), "TEXT GO: \nAnn,Bob,\nAnn\nBob\nCy,\nCy\n");
}

}  // namespace
