// The window tables: what the builders rely on holding for every window.

#include "forms/clock_icon.h"
#include "forms/windows.h"

#include <QTest>

#include <set>

using namespace forms;

class FormsTest : public QObject {
    Q_OBJECT

private slots:
    void everyWindowHasUniqueNamesAndAContiguousTabOrder_data() {
        QTest::addColumn<const Form*>("form");
        QTest::newRow("mainForm") << &mainForm;
        QTest::newRow("Form1") << &form1;
        QTest::newRow("Form2") << &form2;
        QTest::newRow("Form4") << &form4;
    }
    void everyWindowHasUniqueNamesAndAContiguousTabOrder() {
        QFETCH(const Form*, form);
        std::set<std::string_view> names;
        std::set<int> tabs;
        for (const Control& control : form->controls) {
            QVERIFY2(names.insert(control.name).second, control.name.data());
            QVERIFY(tabs.insert(control.tabIndex).second);
            // A field is announced by what it holds; everything else by its caption.
            QCOMPARE(control.kind == Kind::TextBox, !control.accessibleName.empty());
            QVERIFY(control.kind == Kind::TextBox || control.accessibleName.empty());
            // Every control lies inside the client area.
            QVERIFY(control.twips.left + control.twips.width <= form->clientWidth);
            QVERIFY(control.twips.top + control.twips.height <= form->clientHeight);
        }
        QCOMPARE(*tabs.begin(), 0);
        QCOMPARE(*tabs.rbegin(), int(tabs.size()) - 1);
        QVERIFY(findControl(*form, "Command1") || form == &mainForm);
    }

    void theIconShowsItsMarksAndHands_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("ink");
        QTest::newRow("12 o'clock") << 0 << 14 << true;
        QTest::newRow("6 o'clock") << 31 << 15 << true;
        QTest::newRow("9 o'clock") << 16 << 1 << true;
        QTest::newRow("3 o'clock") << 15 << 30 << true;
        QTest::newRow("tip of the thick hand") << 4 << 3 << true;
        QTest::newRow("tip of the thin hand") << 4 << 28 << true;
        QTest::newRow("corner") << 0 << 0 << false;
        QTest::newRow("below the centre") << 24 << 15 << false;
    }
    void theIconShowsItsMarksAndHands() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, ink);
        QCOMPARE(clockIconPixel(row, column) == clockIconInk, ink);
        for (std::string_view line : clockIconRows)
            QCOMPARE(int(line.size()), clockIconSize);
    }
};

QTEST_APPLESS_MAIN(FormsTest)
#include "tst_forms.moc"
