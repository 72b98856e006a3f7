#pragma once

#include <random>
#include <string>

// A realistic verification SMS for a project. style picks the wording: the code after its
// keyword, before it, after a "[发送号码...]" prefix, and so on; codeKind 0 gives six digits,
// 1 four digits, 2 letters and digits. The text never holds "|", "`" or a line break.
std::string composeSms(const std::string &projectName, int style, int codeKind, std::mt19937 &random);
