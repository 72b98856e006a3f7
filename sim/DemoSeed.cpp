#include "DemoSeed.h"

#include "SqliteDb.h"

#include <cstdio>

namespace {

struct ProjectSeed
{
    const char *name;
    const char *site;
    int priceCents;
    int type;      // 0 receive, 1 send, 2 both
    int status;    // 1 normal, 0 under review
    int poolSize;  // 0: this project has run dry
    bool delivers; // false: SMS never arrive, so the five-minute end can be seen
    bool sendFails;
    const char *info;
};

// pid = index + 1. The favourites of "demo" come first.
const ProjectSeed kProjects[] = {
    {"云购商城", "www.yungou-mall.cn/reg", 50, 0, 1, 40, true, false, "新用户注册，验证码5分钟内有效。"},
    {"星河视频", "m.xinghe-video.com/signup", 80, 0, 1, 40, true, false, "会员注册及登录验证。"},
    {"快递助手", "kuaidi-helper.cn", 30, 0, 1, 40, true, false, "快递查询账号注册。"},
    {"银行短信服务", "bank-sms.example.cn/open", 250, 2, 1, 30, true, true, "收发短信项目：先发送开通短信，再接收动态码。"},
    {"短信群发测试", "sms-test.example.cn", 20, 1, 1, 40, false, false, "只需从号码发送一条短信到指定接收号码。"},
    {"邮箱验证", "mail.yunxin.cn/register", 60, 2, 1, 30, true, false, "绑定手机：发送短信后接收验证码。"},
    {"天气通", "tianqitong.cn", 10, 0, 1, 40, false, false, "此项目近期不下发短信，可用于观察任务超时。"},
    {"外卖速达", "waimai-suda.cn/login", 40, 0, 1, 0, true, false, "号码紧缺，暂时缺号。"},
    {"美食点评", "meishi-dianping.cn/join", 50, 0, 1, 40, true, false, "点评账号注册。"},
    {"出行打车", "chuxing-dache.cn", 70, 0, 1, 40, true, false, "乘客端注册。"},
    {"蓝鲸社区", "lanjing-bbs.cn/reg", 30, 0, 1, 40, true, false, "论坛注册验证码。"},
    {"悦读小说", "yuedu-novel.cn", 20, 0, 1, 40, true, false, "阅读会员注册。"},
    {"青橙直播", "qingcheng-live.cn/signup", 90, 0, 1, 40, true, false, "主播及观众注册。"},
    {"海豚音乐", "haitun-music.cn", 40, 0, 1, 40, true, false, "音乐会员登录验证。"},
    {"飞鸟旅行", "feiniao-travel.cn/reg", 120, 0, 1, 40, true, false, "机票酒店预订账号注册。"},
    {"好运彩", "haoyuncai.cn", 300, 0, 0, 40, true, false, "项目审核中。"},
    {"理财通宝", "licai-tongbao.cn/open", 200, 0, 1, 40, true, false, "理财账户开户验证。"},
    {"学霸网课", "xueba-class.cn", 50, 0, 1, 40, true, false, "学生注册。"},
    {"健康医生", "jiankang-doctor.cn/reg", 60, 0, 1, 40, true, false, "在线问诊注册。"},
    {"房产家园", "fangchan-home.cn", 80, 0, 1, 40, true, false, "经纪人及用户注册。"},
    {"二手优选", "ershou-youxuan.cn", 30, 0, 0, 40, true, false, "项目审核中。"},
    {"云盘存储", "yunpan-cloud.cn/signup", 40, 0, 1, 40, true, false, "网盘账号注册。"},
    {"游戏大厅", "youxi-dating.cn", 50, 0, 1, 0, true, false, "号码已用完，请稍后再试。"},
    {"招聘达人", "zhaopin-daren.cn/reg", 70, 0, 1, 40, true, false, "求职者注册。"},
    {"相亲交友", "xiangqin-jiaoyou.cn", 150, 0, 1, 40, true, false, "实名注册验证。"},
    {"汽车之友", "qiche-zhiyou.cn", 40, 0, 1, 40, true, false, "车友会注册。"},
    {"宠物之家", "chongwu-home.cn/reg", 30, 0, 1, 40, true, false, "宠物社区注册。"},
    {"话费充值", "huafei-pay.cn", 100, 1, 1, 40, false, false, "发送充值指令短信。"},
    {"电信营业厅", "dianxin-yingye.cn", 80, 1, 1, 40, false, false, "发送业务办理短信。"},
    {"论坛注册", "luntan-reg.cn/join", 40, 2, 1, 30, true, false, "先发短信激活，再收验证码。"},
    {"问答社区", "wenda-shequ.cn", 30, 0, 1, 40, true, false, "问答社区注册。"},
    {"地图导航", "ditu-daohang.cn", 20, 0, 1, 40, false, false, "此项目不下发短信。"},
    {"健身打卡", "jianshen-daka.cn/reg", 50, 0, 1, 40, true, false, "健身会员注册。"},
    {"摄影分享", "sheying-share.cn", 40, 0, 1, 40, true, false, "摄影社区注册。"},
    {"团购优惠", "tuangou-youhui.cn/signup", 60, 0, 1, 40, true, false, "团购账号注册。"},
    {"民宿预订", "minsu-yuding.cn", 90, 0, 1, 40, true, false, "民宿平台注册。"},
};

const char *recipientsFor(int type, int pid)
{
    if (type == 0)
        return "";
    return pid % 2 == 0 ? "10690000888,10690000999" : "1069012345,10690055555";
}

void seedAccounts(SqliteDb &db)
{
    struct Account
    {
        const char *uid, *pwd;
        int points, balanceCents, maxNumbers, locked;
    };
    const Account accounts[] = {{"demo", "demo123", 1280, 10000, 10, 0},
                                {"locked", "locked123", 20, 500, 5, 1},
                                {"poor", "poor123", 0, 5, 3, 0}};
    for (const auto &a : accounts) {
        db.query("INSERT INTO accounts (uid, pwd, points, balance_cents, max_numbers, locked) "
                 "VALUES (?, ?, ?, ?, ?, ?)")
            .bind(a.uid).bind(a.pwd).bind(a.points).bind(a.balanceCents).bind(a.maxNumbers)
            .bind(a.locked).run();
    }
}

void seedProjects(SqliteDb &db)
{
    int pid = 0;
    for (const auto &p : kProjects) {
        ++pid;
        auto insert = db.query(
            "INSERT INTO projects (pid, name, url, price_cents, type, status, info, recv, sms_style,"
            " code_kind, deliver_ms, send_result) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        insert.bind(pid).bind(p.name).bind(std::string("http://") + p.site).bind(p.priceCents)
            .bind(p.type).bind(p.status).bind(p.info).bind(recipientsFor(p.type, pid))
            .bind(pid % 5).bind(pid % 3);
        if (p.delivers)
            insert.bindNull();
        else
            insert.bind(-1);
        insert.bind(p.sendFails ? "fail" : "succ").run();
        for (int i = 0; i < p.poolSize; ++i)
            db.query("INSERT INTO numbers (pid, mobile) VALUES (?, ?)").bind(pid).bind(seededMobile(pid, i)).run();
    }
}

void seedFavourites(SqliteDb &db)
{
    for (int pid = 1; pid <= 8; ++pid)
        db.query("INSERT INTO favourites (uid, pid, added) VALUES ('demo', ?, '2026-12-01')").bind(pid).run();
}

} // namespace

std::string seededMobile(int pid, int index)
{
    static const char *const prefixes[] = {"130", "131", "132", "155", "156",
                                           "185", "186", "170", "171", "165"};
    char text[16];
    std::snprintf(text, sizeof text, "%s%08d", prefixes[index % 10], 20000000 + (pid * 1000 + index) * 37);
    return text;
}

void seedDemo(SqliteDb &db)
{
    seedAccounts(db);
    seedProjects(db);
    seedFavourites(db);
}
