#include "PlatformCommands.h"

#include "QueryParams.h"
#include "SimStore.h"
#include "SmsComposer.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unordered_map>
#include <vector>

namespace {

const char *const kParameterError = "parameter_error";
const char *const kLoginError = "login_error";
const char *const kLocked = "account_is_locked";
const char *const kNoData = "no_data";
const char *const kCrLf = "\r\n";
// Numbers held longer than this go back to the pool, so a demo account never stays full.
const std::int64_t kHoldLimitMs = 20 * 60 * 1000;

// A whole decimal number within [low, high], digits only (an optional "-" before them).
bool readInt(const std::string &text, std::int64_t low, std::int64_t high, int &out)
{
    if (text.empty() || text.size() > 11)
        return false;
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size())
        return false;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    if (text[0] == '-')
        value = -value;
    if (value < low || value > high)
        return false;
    out = static_cast<int>(value);
    return true;
}

bool intParam(const QueryParams &params, const char *name, std::int64_t low, std::int64_t high, int &out)
{
    const std::string *text = params.find(name);
    return text && readInt(*text, low, high, out);
}

bool isMobile(const std::string &text)
{
    return !text.empty() && text.size() <= 20
           && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> splitCommas(const std::string &text)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto comma = text.find(',', start);
        const auto end = comma == std::string::npos ? text.size() : comma;
        if (end > start)
            items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

std::string formatCents(std::int64_t cents)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%02lld", cents < 0 ? "-" : "",
                  static_cast<long long>(std::llabs(cents) / 100), static_cast<long long>(std::llabs(cents) % 100));
    return text;
}

std::string today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

void releaseHeld(SqliteDb &db, const std::string &uid, const std::string &mobile)
{
    db.query("DELETE FROM inbox WHERE mobile = ?").bind(mobile).run();
    db.query("DELETE FROM outbox WHERE uid = ? AND mobile = ?").bind(uid).bind(mobile).run();
    db.query("UPDATE numbers SET holder = NULL, several = 0, taken_ms = NULL, next_sms_ms = NULL "
             "WHERE holder = ? AND mobile = ?").bind(uid).bind(mobile).run();
}

void releaseExpired(SqliteDb &db)
{
    const std::int64_t before = SimStore::nowMs() - kHoldLimitMs;
    db.query("DELETE FROM inbox WHERE mobile IN "
             "(SELECT mobile FROM numbers WHERE holder IS NOT NULL AND taken_ms < ?)").bind(before).run();
    db.query("UPDATE numbers SET holder = NULL, several = 0, taken_ms = NULL, next_sms_ms = NULL "
             "WHERE holder IS NOT NULL AND taken_ms < ?").bind(before).run();
}

std::int64_t priceOf(SqliteDb &db, int pid)
{
    auto query = db.query("SELECT price_cents FROM projects WHERE pid = ?");
    query.bind(pid);
    return query.next() ? query.integer(0) : 0;
}

// The balance is charged when a code arrives (or an SMS has been sent); it never goes below 0.
void charge(SqliteDb &db, const std::string &uid, int pid)
{
    db.query("UPDATE accounts SET balance_cents = MAX(0, balance_cents - ?), points = points + 1 "
             "WHERE uid = ?").bind(priceOf(db, pid)).bind(uid).run();
}

std::string favouriteIds(SqliteDb &db, const std::string &uid)
{
    std::string ids;
    auto query = db.query("SELECT pid FROM favourites WHERE uid = ? ORDER BY pid");
    query.bind(uid);
    while (query.next())
        ids += std::to_string(query.integer(0)) + ",";
    return ids;
}

} // namespace

PlatformCommands::PlatformCommands(SimStore &store, int smsDelayMs)
    : store_(store), smsDelayMs_(smsDelayMs), random_(std::random_device{}())
{
}

void PlatformCommands::setSmsDelay(int milliseconds)
{
    smsDelayMs_ = milliseconds;
}

void PlatformCommands::deliverSms(const std::string &mobile, const std::string &text)
{
    store_.transact([&](SqliteDb &db) {
        db.query("INSERT INTO inbox (mobile, text) VALUES (?, ?)").bind(mobile).bind(text).run();
    });
}

std::string PlatformCommands::startSession(const std::string &uid)
{
    return store_.transact([&](SqliteDb &db) {
        const std::string token = newToken();
        db.query("UPDATE accounts SET token = ? WHERE uid = ?").bind(token).bind(uid).run();
        return db.changes() > 0 ? token : std::string();
    });
}

std::string PlatformCommands::run(const std::string &action, const QueryParams &params)
{
    using Handler = std::string (PlatformCommands::*)(SqliteDb &, const std::string &, const QueryParams &);
    static const std::unordered_map<std::string, Handler> handlers = {
        {"getUserInfos", &PlatformCommands::userInfo},
        {"getfavpro", &PlatformCommands::favouriteProjects},
        {"getinfo", &PlatformCommands::takeNumbers},
        {"getVcodeAndHoldMobilenum", &PlatformCommands::pollSms},
        {"ReleaseMobile", &PlatformCommands::releaseNumbers},
        {"addIgnoreList", &PlatformCommands::blacklist},
        {"sendSms", &PlatformCommands::sendSms},
        {"getSmsStatus", &PlatformCommands::smsStatus},
        {"getfavlist", &PlatformCommands::favouriteList},
        {"getprolist", &PlatformCommands::projectList},
        {"setfav", &PlatformCommands::changeFavourites},
    };
    if (action == "loginIn")
        return store_.transact([&](SqliteDb &db) { return login(db, params); });
    const auto handler = handlers.find(action);
    if (handler == handlers.end())
        return kParameterError;
    return store_.transact([&](SqliteDb &db) -> std::string {
        const std::string uid = params.value("uid");
        const std::string token = params.value("token");
        auto account = db.query("SELECT token, locked FROM accounts WHERE uid = ?");
        account.bind(uid);
        if (!account.next() || token.empty() || account.text(0) != token)
            return kLoginError;
        if (account.integer(1) != 0)
            return kLocked;
        return (this->*handler->second)(db, uid, params);
    });
}

std::string PlatformCommands::login(SqliteDb &db, const QueryParams &params)
{
    const std::string *uid = params.find("uid");
    const std::string *pwd = params.find("pwd");
    if (!uid || uid->empty() || !pwd)
        return kParameterError;
    auto account = db.query("SELECT pwd, locked FROM accounts WHERE uid = ?");
    account.bind(*uid);
    if (!account.next() || account.text(0) != *pwd)
        return kLoginError;
    if (account.integer(1) != 0)
        return kLocked;
    const std::string token = newToken();
    db.query("UPDATE accounts SET token = ? WHERE uid = ?").bind(token).bind(*uid).run();
    return "OK|" + token;
}

std::string PlatformCommands::userInfo(SqliteDb &db, const std::string &uid, const QueryParams &)
{
    auto account = db.query("SELECT points, balance_cents, max_numbers FROM accounts WHERE uid = ?");
    account.bind(uid);
    account.next();
    return uid + ";" + std::to_string(account.integer(0)) + ";" + formatCents(account.integer(1)) + ";"
           + std::to_string(account.integer(2));
}

// Records carry nine fields: a receive-only project has an empty recipient list, and the added
// date after it keeps that empty eighth field from being the end of the line.
std::string PlatformCommands::favouriteProjects(SqliteDb &db, const std::string &uid, const QueryParams &params)
{
    int type = 0;
    const std::string *key = params.find("key");
    if (!intParam(params, "type", 0, 1, type) || !key)
        return kParameterError;
    auto query = db.query(
        "SELECT p.pid, p.name, p.url, p.price_cents, p.type, p.status, p.info, p.recv, f.added "
        "FROM favourites f JOIN projects p ON p.pid = f.pid "
        "WHERE f.uid = ? AND (? = 0 OR ? = '' OR instr(p.name, ?) > 0) ORDER BY f.pid");
    query.bind(uid).bind(type).bind(*key).bind(*key);
    int count = 0;
    std::string lines;
    while (query.next()) {
        ++count;
        lines += kCrLf + std::to_string(query.integer(0)) + "`" + query.text(1) + "`" + query.text(2) + "`"
                 + formatCents(query.integer(3)) + "`" + std::to_string(query.integer(4)) + "`"
                 + std::to_string(query.integer(5)) + "`" + query.text(6) + "`" + query.text(7) + "`"
                 + query.text(8);
    }
    return std::to_string(count) + lines;
}

std::string PlatformCommands::takeNumbers(SqliteDb &db, const std::string &uid, const QueryParams &params)
{
    int pid = 0, size = 0, several = 0;
    const std::string *mobile = params.find("mobile");
    if (!intParam(params, "pid", 1, INT32_MAX, pid) || !intParam(params, "lock", 0, 1, several)
        || !intParam(params, "size", 1, 100, size) || !mobile)
        return kParameterError;
    releaseExpired(db);

    auto project = db.query("SELECT price_cents, status, type FROM projects WHERE pid = ?");
    project.bind(pid);
    if (!project.next())
        return "message|项目不存在";
    if (project.integer(1) != 1)
        return "message|项目正在审核中，暂时不能获取号码";
    const bool sendOnly = project.integer(2) == 1;
    auto account = db.query("SELECT balance_cents, max_numbers, "
                            "(SELECT COUNT(*) FROM numbers WHERE holder = ?1) FROM accounts WHERE uid = ?1");
    account.bind(uid);
    account.next();
    if (account.integer(0) < project.integer(0))
        return "message|余额不足，请先充值";
    const std::int64_t room = account.integer(1) - account.integer(2);
    if (room <= 0)
        return "max_count_disable";

    auto free = db.query(
        "SELECT mobile FROM numbers n WHERE pid = ?1 AND holder IS NULL AND (?2 = '' OR mobile = ?2) "
        "AND NOT EXISTS (SELECT 1 FROM blacklist b WHERE b.uid = ?3 AND b.pid = n.pid AND b.mobile = n.mobile) "
        "ORDER BY random() LIMIT ?4");
    free.bind(pid).bind(*mobile).bind(uid).bind(std::min<std::int64_t>(size, room));
    std::vector<std::string> taken;
    while (free.next())
        taken.push_back(free.text(0));
    if (taken.empty())
        return kNoData;

    const std::int64_t now = SimStore::nowMs();
    const std::int64_t delay = sendOnly ? -1 : deliveryDelay(db, pid);
    std::string list;
    for (const auto &number : taken) {
        auto hold = db.query("UPDATE numbers SET holder = ?, several = ?, taken_ms = ?, next_sms_ms = ? "
                             "WHERE pid = ? AND mobile = ?");
        hold.bind(uid).bind(several).bind(now);
        if (delay < 0)
            hold.bindNull();
        else
            hold.bind(now + delay);
        hold.bind(pid).bind(number).run();
        list += (list.empty() ? "" : ";") + number;
    }
    return list + "|" + std::to_string(taken.size());
}

std::string PlatformCommands::pollSms(SqliteDb &db, const std::string &uid, const QueryParams &params)
{
    int pid = 0;
    const std::string mobile = params.value("mobile");
    if (!intParam(params, "pid", 1, INT32_MAX, pid) || mobile.empty())
        return kParameterError;
    auto held = db.query("SELECT several, next_sms_ms FROM numbers WHERE pid = ? AND mobile = ? AND holder = ?");
    held.bind(pid).bind(mobile).bind(uid);
    if (!held.next())
        return kNoData;
    const bool several = held.integer(0) != 0;
    const bool due = !held.isNull(1) && held.integer(1) <= SimStore::nowMs();

    std::string text;
    auto waiting = db.query("SELECT id, text FROM inbox WHERE mobile = ? ORDER BY id LIMIT 1");
    waiting.bind(mobile);
    if (waiting.next()) {
        text = waiting.text(1);
        db.query("DELETE FROM inbox WHERE id = ?").bind(waiting.integer(0)).run();
    } else if (due) {
        text = composeFor(db, pid);
        auto next = db.query("UPDATE numbers SET next_sms_ms = ? WHERE pid = ? AND mobile = ?");
        if (several)
            next.bind(SimStore::nowMs() + std::max<std::int64_t>(deliveryDelay(db, pid), 0));
        else
            next.bindNull();
        next.bind(pid).bind(mobile).run();
    } else {
        return "not_receive";
    }
    charge(db, uid, pid);
    return mobile + "|" + text;
}

std::string PlatformCommands::releaseNumbers(SqliteDb &db, const std::string &uid, const QueryParams &params)
{
    const std::string *mobiles = params.find("mobile");
    if (!mobiles)
        return kParameterError;
    std::vector<std::string> list = splitCommas(*mobiles);
    if (mobiles->empty()) {
        auto all = db.query("SELECT mobile FROM numbers WHERE holder = ?");
        all.bind(uid);
        while (all.next())
            list.push_back(all.text(0));
        for (const auto &mobile : list)
            releaseHeld(db, uid, mobile);
        return "OK";
    }
    std::int64_t released = 0;
    for (const auto &mobile : list) {
        releaseHeld(db, uid, mobile);
        released += db.changes();
    }
    return released > 0 ? "OK" : kNoData;
}

std::string PlatformCommands::blacklist(SqliteDb &db, const std::string &uid, const QueryParams &params)
{
    int pid = 0;
    const std::string mobiles = params.value("mobiles");
    if (!intParam(params, "pid", 1, INT32_MAX, pid) || mobiles.empty())
        return kParameterError;
    auto project = db.query("SELECT 1 FROM projects WHERE pid = ?");
    project.bind(pid);
    if (!project.next())
        return "message|项目不存在";
    std::int64_t added = 0;
    for (const auto &mobile : splitCommas(mobiles)) {
        if (!isMobile(mobile))
            continue;
        db.query("INSERT OR IGNORE INTO blacklist (uid, pid, mobile) VALUES (?, ?, ?)").bind(uid).bind(pid).bind(mobile).run();
        added += db.changes();
        releaseHeld(db, uid, mobile);
    }
    return std::to_string(added);
}

std::string PlatformCommands::sendSms(SqliteDb &db, const std::string &uid, const QueryParams &params)
{
    int pid = 0;
    const std::string mobile = params.value("mobile");
    const std::string content = params.value("content");
    const std::string *recv = params.find("recv");
    if (!intParam(params, "pid", 1, INT32_MAX, pid) || mobile.empty() || content.empty() || !recv)
        return kParameterError;
    auto project = db.query("SELECT type, recv FROM projects WHERE pid = ?");
    project.bind(pid);
    if (!project.next())
        return "message|项目不存在";
    if (project.integer(0) == 0)
        return "message|该项目不支持发送短信";
    const std::vector<std::string> allowed = splitCommas(project.text(1));
    if (!allowed.empty() && std::find(allowed.begin(), allowed.end(), *recv) == allowed.end())
        return "message|接收号码不正确";
    auto held = db.query("SELECT 1 FROM numbers WHERE pid = ? AND mobile = ? AND holder = ?");
    held.bind(pid).bind(mobile).bind(uid);
    if (!held.next())
        return "message|号码不存在或已释放";
    db.query("INSERT OR REPLACE INTO outbox (uid, pid, mobile, recv, content, polls) VALUES (?, ?, ?, ?, ?, 0)")
        .bind(uid).bind(pid).bind(mobile).bind(*recv).bind(content).run();
    return "OK";
}

// An SMS is "sending" for the first two asks, then ends in the project's result.
std::string PlatformCommands::smsStatus(SqliteDb &db, const std::string &uid, const QueryParams &params)
{
    int pid = 0;
    const std::string mobile = params.value("mobile");
    if (!intParam(params, "pid", 1, INT32_MAX, pid) || mobile.empty())
        return kParameterError;
    auto sent = db.query("SELECT o.polls, p.send_result FROM outbox o JOIN projects p ON p.pid = o.pid "
                         "WHERE o.uid = ? AND o.pid = ? AND o.mobile = ?");
    sent.bind(uid).bind(pid).bind(mobile);
    if (!sent.next())
        return kNoData;
    const std::int64_t polls = sent.integer(0) + 1;
    const std::string result = sent.text(1);
    db.query("UPDATE outbox SET polls = ? WHERE uid = ? AND pid = ? AND mobile = ?")
        .bind(polls).bind(uid).bind(pid).bind(mobile).run();
    if (polls <= 2)
        return "sending";
    if (polls == 3 && result == "succ")
        charge(db, uid, pid);
    return result;
}

std::string PlatformCommands::favouriteList(SqliteDb &db, const std::string &uid, const QueryParams &)
{
    const std::string ids = favouriteIds(db, uid);
    return ids.empty() ? "null" : "OK|" + ids;
}

std::string PlatformCommands::projectList(SqliteDb &db, const std::string &uid, const QueryParams &params)
{
    int pageSize = 0, page = 0, type = 0, favourites = 0;
    const std::string *key = params.find("keystr");
    if (!intParam(params, "pagesize", 1, 100, pageSize) || !intParam(params, "ipageno", 1, INT32_MAX, page)
        || !intParam(params, "protype", 0, 3, type) || !intParam(params, "favtype", 0, 1, favourites) || !key)
        return kParameterError;
    const std::string where =
        " FROM projects WHERE (?1 = 0 OR type = ?1 - 1) "
        "AND (?2 = '' OR instr(name, ?2) > 0 OR CAST(pid AS TEXT) = ?2) "
        "AND (?3 = 0 OR pid IN (SELECT pid FROM favourites WHERE uid = ?4))";
    auto count = db.query("SELECT COUNT(*)" + where);
    count.bind(type).bind(*key).bind(favourites).bind(uid);
    count.next();
    const std::int64_t total = count.integer(0);

    auto rows = db.query("SELECT pid, name, url, price_cents, type, status" + where + " ORDER BY pid LIMIT ?5 OFFSET ?6");
    rows.bind(type).bind(*key).bind(favourites).bind(uid).bind(pageSize)
        .bind(static_cast<std::int64_t>(page - 1) * pageSize);
    std::string reply = std::to_string(total);
    while (rows.next()) {
        reply += kCrLf + std::to_string(rows.integer(0)) + "`" + rows.text(1) + "`" + rows.text(2) + "`"
                 + formatCents(rows.integer(3)) + "`" + std::to_string(rows.integer(4)) + "`"
                 + std::to_string(rows.integer(5));
    }
    return reply;
}

// The reply lists every favourite after the change; an empty list is "," so that the reply
// still has its second part.
std::string PlatformCommands::changeFavourites(SqliteDb &db, const std::string &uid, const QueryParams &params)
{
    int operation = 0;
    if (!intParam(params, "favtype", 0, 1, operation))
        return kParameterError;
    const std::vector<std::string> ids = splitCommas(params.value("pid"));
    std::vector<int> pids;
    for (const auto &id : ids) {
        int pid = 0;
        if (!readInt(id, 1, INT32_MAX, pid))
            return kParameterError;
        pids.push_back(pid);
    }
    if (pids.empty())
        return kParameterError;
    const std::string added = today();
    for (int pid : pids) {
        if (operation == 0)
            db.query("INSERT OR IGNORE INTO favourites (uid, pid, added) SELECT ?, pid, ? FROM projects WHERE pid = ?")
                .bind(uid).bind(added).bind(pid).run();
        else
            db.query("DELETE FROM favourites WHERE uid = ? AND pid = ?").bind(uid).bind(pid).run();
    }
    const std::string list = favouriteIds(db, uid);
    return "OK|" + (list.empty() ? std::string(",") : list);
}

std::string PlatformCommands::newToken()
{
    static const char hex[] = "0123456789abcdef";
    std::uniform_int_distribution<int> digit(0, 15);
    std::string token;
    for (int i = 0; i < 32; ++i)
        token.push_back(hex[digit(random_)]);
    return token;
}

std::string PlatformCommands::composeFor(SqliteDb &db, int pid)
{
    auto project = db.query("SELECT name, sms_style, code_kind FROM projects WHERE pid = ?");
    project.bind(pid);
    project.next();
    return composeSms(project.text(0), static_cast<int>(project.integer(1)), static_cast<int>(project.integer(2)), random_);
}

std::int64_t PlatformCommands::deliveryDelay(SqliteDb &db, int pid)
{
    auto project = db.query("SELECT deliver_ms FROM projects WHERE pid = ?");
    project.bind(pid);
    if (project.next() && !project.isNull(0))
        return project.integer(0);
    return smsDelayMs_.load();
}
