#include "SmsComposer.h"

namespace {

std::string makeCode(int codeKind, std::mt19937 &random)
{
    static const char digits[] = "0123456789";
    static const char mixed[] = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    const bool letters = codeKind == 2;
    const int length = codeKind == 1 ? 4 : 6;
    std::uniform_int_distribution<int> pick(0, letters ? 31 : 9);
    std::string code;
    for (int i = 0; i < length; ++i)
        code.push_back(letters ? mixed[pick(random)] : digits[pick(random)]);
    return code;
}

} // namespace

std::string composeSms(const std::string &projectName, int style, int codeKind, std::mt19937 &random)
{
    const std::string code = makeCode(codeKind, random);
    const std::string sender = std::to_string(std::uniform_int_distribution<int>(1000, 9999)(random));
    switch (style % 5) {
    case 0:
        return "【" + projectName + "】您的验证码是" + code + "，5分钟内有效，请勿泄露给他人。";
    case 1:
        return code + "（" + projectName + "验证码），请在10分钟内完成验证。如非本人操作，请忽略本短信。";
    case 2:
        return "[发送号码10690" + sender + "]【" + projectName + "】校验码：" + code +
               "，用于手机号注册，请勿告诉他人。";
    case 3:
        return "【" + projectName + "】动态码" + code + "，您正在登录，若非本人操作，请勿泄露。";
    default:
        return "欢迎使用" + projectName + "，您的手机验证码为：" + code + "，请于5分钟内正确输入。";
    }
}
