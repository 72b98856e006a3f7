// Code extraction on realistic SMS texts with the default keywords.
#include "workspace/structutil.h"

#include <benchmark/benchmark.h>

namespace {

TSysInfo MakeSysInfo(int codeType)
{
    TSysInfo sysinfo;
    sysinfo.SetGetKey(QStringLiteral("验证码,校检码,激活码"));
    sysinfo.CodeType = qint8(codeType);
    return sysinfo;
}

void Extract(benchmark::State &state, const QString &sms, int codeType)
{
    const TSysInfo sysinfo = MakeSysInfo(codeType);
    for (auto _ : state)
        benchmark::DoNotOptimize(sysinfo.GetCodeBySms(sms));
    state.SetItemsProcessed(state.iterations());
    state.counters["chars"] = double(sms.size());
}

// About 70 characters, the typical verification SMS.
const QString kTypical = QStringLiteral(
    "【闪购商城】尊敬的用户，您的验证码是：482913，该验证码5分钟内有效，请勿泄露给他人。"
    "如非本人操作，请忽略本短信。拒收请回复R，退订回T");
const QString kShort = QStringLiteral("验证码1234");
const QString kLong = QStringLiteral(
    "[发送号码106903338801]【某某银行】尊敬的客户，您正在办理网上银行登录业务，为保障您的资金安全，"
    "请核实交易信息：交易时间2026年12月11日，交易渠道手机银行，本次操作的动态校检码为 739201 ，"
    "有效期为十分钟，切勿将此码告知任何人包括银行工作人员。如有疑问请致电客服热线咨询，感谢您的支持与信赖。"
    "本短信由系统自动发送，请勿直接回复。");
const QString kNoKeyword = QStringLiteral(
    "【出行服务】您预约的车辆已到达上车地点，车牌号京A12345，司机王师傅，电话13800000000，请尽快上车。");
const QString kManyKeywords = QStringLiteral(
    "验证码12，校检码34，激活码56；验证码提示：请以邮件中的激活码为准，校检码另发，本条不含有效代码。");

} // namespace

BENCHMARK_CAPTURE(Extract, typical_70, kTypical, 0);
BENCHMARK_CAPTURE(Extract, short, kShort, 0);
BENCHMARK_CAPTURE(Extract, long_with_prefix, kLong, 0);
BENCHMARK_CAPTURE(Extract, no_keyword, kNoKeyword, 0);
BENCHMARK_CAPTURE(Extract, many_keywords_no_code, kManyKeywords, 0);
BENCHMARK_CAPTURE(Extract, typical_letters, kTypical, 1);

BENCHMARK_MAIN();
