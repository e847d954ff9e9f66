// Pictures of the master-data windows with a few rows, for looking at them:
// run with --gtest_also_run_disabled_tests; they land in shots/ of the checkout.
#include "masterdata/cktype.h"
#include "masterdata/hwxh.h"
#include "masterdata/jhdw.h"
#include "masterdata/jxs.h"
#include "masterdata/oper.h"
#include "support/screen.h"

#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

using namespace testing_support;

namespace {

void fill(db::Connection& c) {
    c.exec("insert into jhdw (dwmc, tel, address, bz) values "
           "('杭州华东电子有限公司', '0571-88001234', '杭州市文三路 259 号', '月结 30 天'), "
           "('深圳恒信科技', '0755-26661111', '深圳市南山区科技园', ''), "
           "('北京联创商贸', '010-62345678', '北京市海淀区中关村大街 1 号', '')");
    c.exec("insert into cktype (type_name) values ('笔记本'), ('台式机'), ('显示器')");
    c.exec("insert into hwxh (xh, type_name, mc, remark) values "
           "('TP-X1C', '笔记本', 'ThinkPad X1 Carbon', 'i7-1365U/16G/1T SSD/14\"'), "
           "('TP-T14', '笔记本', 'ThinkPad T14', 'i5-1345U/16G/512G SSD'), "
           "('XH-E14', '笔记本', '昭阳 E14', 'R5-7530U/8G/512G'), "
           "('HP-800', '台式机', 'EliteDesk 800 G9', 'i7/32G/1T')");
    c.exec("insert into jxs (mc, linker, mobile, tel, addr, dq, bz, type) values "
           "('杭州数码港', '王经理', '13900001111', '0571-85550001', '杭州市文二路 38 号', '杭州', '老客户', 'jx'), "
           "('绍兴电脑城', '李娟', '13800002222', '0575-88880002', '绍兴市解放北路 6 号', '绍兴', '', 'jx'), "
           "('宁波恒达', '陈刚', '13700003333', '', '宁波市中山东路 100 号', '宁波', '', 'jx'), "
           "('银泰百货', '赵敏', '13600004444', '0571-87000001', '杭州市延安路 98 号', '杭州', '', 'mc')");
    c.exec("insert into operator (op_name, op_code, password, rk, jxsck, mcxs, jxcx, mccx, jhdw, jxszl, cplb, cpxh, "
           "czy) values ('管理员', 'admin', '', '有', '有', '有', '有', '有', '有', '有', '有', '有', '有'), "
           "('张三', '001', '', '有', '无', '无', '有', '无', '无', '无', '无', '无', '无'), "
           "('李四', '002', '', '无', '有', '有', '有', '有', '无', '无', '无', '无', '无')");
}

template <class W>
void shoot(const char* file, const std::function<void(W&)>& prepare = {}) {
    testing_support::TestDb db;
    testing_support::ScriptedPrompter prompts;
    fill(db.conn());
    Screen<W> s(db.conn());
    if (prepare)
        prepare(s.w);
    QApplication::processEvents();
    // shots/ beside tests/ in the checkout (git-ignored).
    const QString dir = QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + QStringLiteral("/../../shots");
    QDir().mkpath(dir);
    EXPECT_TRUE(s.w.grab().save(dir + QStringLiteral("/") + QString::fromLatin1(file)));
}

} // namespace

TEST(MasterDataShots, DISABLED_EachWindowWithAFewRows) {
    shoot<TjhdwFrm>("jhdw.png");
    shoot<TcktypeFrm>("cktype.png");
    shoot<ThwxhFrm>("hwxh.png");
    shoot<TjxsFrm>("jxs-dealers.png");
    shoot<TjxsFrm>("jxs-stores.png", [](TjxsFrm& w) { w.findChild<QTabWidget*>("pcJxs")->setCurrentIndex(1); });
    shoot<TOperFrm>("oper.png");
}
