// Hostile console lines, each run from a script or as one line: what reaches
// log.txt (whole lines), stderr (the same error lines) and the screen's slots
// (nothing dropped), and the value the lines leave in a variable.
#include "console/bindings.h"
#include "console/builtins.h"
#include "console/output.h"
#include "console/registry.h"
#include "input/actions.h"
#include "input/input.h"
#include "support/console_lines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

namespace {

struct Row {
    std::string input; // a line, or with from_script the text of row.cfg
    bool from_script;
    Lines logged;  // log.txt's new lines
    float gravity; // the variable afterwards (it starts at 9.5)
};

const Lines EXEC = {">exec row.cfg", "Executing script"};
const std::string TOO_LONG = "!row.cfg:1: line longer than 255 characters, not run!";
const std::string BIND_100K = "bind F9 \"" + std::string(100000, 'x') + "\"";
// A line of exactly 255 characters before its line break.
const std::string FULL_LINE = "gravity 3" + std::string(246, ' ');

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<Row> rows() {
    std::vector<Row> rows = {
        // An over-long script line runs no piece of itself; the next line runs.
        {std::string(255, 'A') + "gravity 0.25\ngravity 2\n", true,
         EXEC + Lines{TOO_LONG, ">gravity 2", "", "type ? for help"}, 2},
        {BIND_100K, true, EXEC + Lines{TOO_LONG}, 9.5f},
        // The same line run whole, as a key's bound line would be.
        {BIND_100K,
         false,
         {"!Line longer than 255 characters, not run: " + BIND_100K.substr(0, 40) + "...!"},
         9.5f},
        // 255 characters and a line break are one line.
        {FULL_LINE + "\n", true, EXEC + Lines{">" + FULL_LINE, "", "type ? for help"}, 3},
    };
    // Values: a decimal number alone, or a truth word; the 240-character one
    // makes an error line longer than 255 characters, kept whole.
    for (const std::string& bad :
         Lines{"abc", "0x10", "-inf", "nan", "3abc", "1 2", "2e", "trueish", std::string(240, 'z')})
        rows.push_back({"gravity " + bad,
                        false,
                        {">gravity " + bad, "!gravity: " + bad + " is not a number!"},
                        9.5f});
    for (auto [good, value] : {std::pair<std::string, float>{"  -2.5e1 ", -25.0f},
                               {"+.5", 0.5f},
                               {"5.", 5.0f},
                               {"TRUE", 1.0f},
                               {"False", 0.0f}})
        rows.push_back({"gravity " + good, false, {">gravity " + good}, value});
    return rows;
}

// In text mode: on Windows log.txt's lines end as that system's text files do.
std::string file_text(const char* path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

Lines split_lines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string without_line_breaks(std::string text) {
    std::erase(text, '\n');
    return text;
}

} // namespace

TEST(ConsoleLines, LongAndBadLinesAreRefusedWholeAndPrintedLinesAreNeverCut) {
    console_init();
    bindings_init();
    static ConsoleVariable* gravity = nullptr;
    static const SettingRow GRAVITY[] = {
        {.variable = &gravity, .name = "gravity", .default_value = 9.5f, .help = "a test's own"}};
    console_add_settings(GRAVITY);
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.input.substr(0, 60));
        gravity->value = 9.5f;
        console_clear();
        size_t log_mark = file_text("log.txt").size();
        testing::internal::CaptureStderr();
        if (row.from_script) {
            std::ofstream("row.cfg", std::ios::binary) << row.input;
            console_execute("exec row.cfg");
        } else {
            console_execute(row.input.c_str());
        }
        std::string errors = testing::internal::GetCapturedStderr();
        std::string logged = file_text("log.txt").substr(log_mark);

        EXPECT_EQ(split_lines(logged), row.logged);
        EXPECT_EQ(gravity->value, row.gravity);
        EXPECT_STREQ(key_bound_line(VK_F1 + 8), ""); // F9
        // Every error line also went whole to stderr, and nothing else did.
        std::string expected_errors;
        for (const std::string& line : row.logged)
            if (line[0] == '!')
                expected_errors += "sheepfall: " + line.substr(1, line.size() - 2) + "\n";
        EXPECT_EQ(errors, expected_errors);
        // The screen's slots hold the same text, however the lines were split.
        std::string shown;
        for (const std::string& slot : printed_lines())
            shown += slot;
        EXPECT_EQ(without_line_breaks(shown), without_line_breaks(logged));
    }
}
