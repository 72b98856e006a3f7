#include "WebSite.h"

#include "QueryParams.h"
#include "SimStore.h"
#include "ZipWriter.h"

#include "common/Ansi.h"
#include "common/Des.h"

#include <map>

namespace {

const char *const kHandOffKey = "tv9pxe6j";

std::string escapeHtml(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

WebReply page(const std::string &title, const std::string &body, int status = 200)
{
    WebReply reply;
    reply.status = status;
    reply.body = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title
                 + "</title></head>\n<body style=\"font-family:sans-serif\">\n<h2>" + title + "</h2>\n" + body
                 + "\n</body></html>\n";
    return reply;
}

WebReply file(std::string body, const std::string &contentType)
{
    WebReply reply;
    reply.body = std::move(body);
    reply.contentType = contentType;
    reply.isText = false;
    return reply;
}

const std::map<std::string, std::pair<std::string, std::string>> &accountPages()
{
    static const std::map<std::string, std::pair<std::string, std::string>> pages = {
        {"/User/money.aspx", {"在线充值", "<p>选择充值金额：10元、50元、100元。</p>"}},
        {"/User/record.aspx", {"资金记录", "<p>暂无资金变动记录。</p>"}},
        {"/User/message.aspx", {"短信记录", "<p>最近接收的短信会显示在这里。</p>"}},
        {"/User/personal.aspx", {"帐号管理", "<p>修改密码、绑定邮箱。</p>"}},
        {"/User/Add_project.aspx", {"添加项目", "<p>填写项目名称、网址和短信关键词，提交后等待审核。</p>"}},
    };
    return pages;
}

WebReply helpPage(const std::string &path, const QueryParams &params)
{
    static const std::map<std::string, std::string> titles = {
        {"/Col.aspx?cid=1", "帮助文档"}, {"/list.aspx?cid=2", "API接口"},
        {"/html.aspx?id=3", "联系我们"}, {"/html.aspx?id=4", "精品推荐"}};
    const std::string id = params.value(path == "/html.aspx" ? "id" : "cid");
    const auto found = titles.find(path + (path == "/html.aspx" ? "?id=" : "?cid=") + id);
    const std::string title = found != titles.end() ? found->second : "帮助中心";
    return page(title, "<p>" + escapeHtml(title) + "：本页面由本地模拟平台提供。</p>");
}

std::string vostrelArchive()
{
    // A RAR 5 signature and a little content: the full client for manual download.
    std::string archive("Rar!\x1a\x07\x01\x00", 8);
    archive += std::string(4096, '\0');
    return archive;
}

} // namespace

WebSite::WebSite(SimStore &store) : store_(store) {}

std::optional<WebReply> WebSite::serve(const std::string &path, const QueryParams &params, const std::string &baseUrl)
{
    if (path == "/" || path == "/index.aspx")
        return page("Talvek验证码平台", "<p>手机号码短信验证码接收平台。</p><p><a href=\"register.aspx\">注册</a></p>");
    if (path == "/info/info.html")
        return page("平台公告",
                    "<p>欢迎使用Talvek验证码平台客户端。</p><ul><li>先在“项目管理”中收藏项目；</li>"
                    "<li>在“获取验证码”中选择项目并获取号码；</li><li>收到短信后点击验证码即可复制。</li></ul>");
    if (path == "/register.aspx")
        return page("用户注册", "<form>用户名：<input name=\"uid\"> 密码：<input name=\"pwd\" type=\"password\">"
                                "<button>注册</button></form>");
    if (path == "/ref.aspx")
        return handOff(params);
    if (const auto found = accountPages().find(path); found != accountPages().end())
        return page(found->second.first, found->second.second);
    if (path == "/Col.aspx" || path == "/list.aspx" || path == "/html.aspx")
        return helpPage(path, params);
    if (path == "/vostrel.rar")
        return file(vostrelArchive(), "application/x-rar-compressed");
    if (path == "/client.aspx")
        return updateCheck(baseUrl);
    if (path.rfind("/download/", 0) == 0)
        return download(path);
    return std::nullopt;
}

// The hand-off carries "user|password|page" enciphered; the page shows who arrived where.
WebReply WebSite::handOff(const QueryParams &params)
{
    std::string text;
    try {
        QByteArray plain = DesDecryptHex(QByteArray::fromStdString(params.value("q")), kHandOffKey);
        while (!plain.isEmpty() && plain.back() == '\0')
            plain.chop(1);
        text = FromAnsi(plain).toStdString();
    } catch (const std::exception &) {
        return page("登录失败", "<p>无效的登录链接。</p>", 403);
    }
    const auto first = text.find('|');
    const auto last = text.rfind('|');
    if (first == std::string::npos || first == last)
        return page("登录失败", "<p>无效的登录链接。</p>", 403);
    const std::string uid = text.substr(0, first);
    const std::string pwd = text.substr(first + 1, last - first - 1);
    const std::string target = text.substr(last + 1);
    const bool valid = store_.transact([&](SqliteDb &db) {
        auto account = db.query("SELECT pwd, locked FROM accounts WHERE uid = ?");
        account.bind(uid);
        return account.next() && account.text(0) == pwd && account.integer(1) == 0;
    });
    if (!valid)
        return page("登录失败", "<p>用户名或密码错误，请重新登录。</p>", 403);
    return page("已登录", "<p id=\"user\">用户：" + escapeHtml(uid) + "</p>\n<p id=\"page\">页面：" + escapeHtml(target)
                              + "</p>\n<p><a href=\"" + escapeHtml(target) + "\">继续</a></p>");
}

WebReply WebSite::updateCheck(const std::string &baseUrl)
{
    WebReply reply;
    reply.contentType = "text/plain";
    std::lock_guard lock(mutex_);
    if (offered_)
        reply.body = baseUrl + "download/update.zip`" + (updater_.empty() ? "" : baseUrl + "download/up.zip");
    return reply;
}

std::optional<WebReply> WebSite::download(const std::string &path)
{
    std::lock_guard lock(mutex_);
    if (offered_ && path == "/download/update.zip")
        return file(package_, "application/zip");
    if (offered_ && !updater_.empty() && path == "/download/up.zip")
        return file(updater_, "application/zip");
    return std::nullopt;
}

void WebSite::offerUpdate(const SimServer::UpdateOffer &offer)
{
    ZipWriter package;
    for (const auto &entry : offer.packageFiles)
        package.add(entry.name, entry.content);
    ZipWriter updater;
    for (const auto &entry : offer.updaterFiles)
        updater.add(entry.name, entry.content);
    if (offer.updaterFiles.empty())
        updater.add("update.exe", "#!/bin/sh\necho updater\n");

    std::lock_guard lock(mutex_);
    offered_ = true;
    package_ = package.finish(offer.packageBytes);
    updater_ = offer.withUpdater ? updater.finish() : std::string();
}

void WebSite::withdrawUpdate()
{
    std::lock_guard lock(mutex_);
    offered_ = false;
    package_.clear();
    updater_.clear();
}
