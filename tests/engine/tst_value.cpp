#include "rows.h"

using engine::Value;

namespace {

// "e", "i16 5", "i32 5", "d 1.5" or "t text" (the text is everything after "t ").
Value Make(const QString& cell) {
    const QString kind = cell.section(' ', 0, 0), rest = cell.section(' ', 1);
    if (kind == "i16" || kind == "i32")
        return kind == "i16" ? Value{std::int16_t(rest.toInt())}
                             : Value{std::int32_t(rest.toInt())};
    return kind == "d" ? Value{rest.toDouble()} : kind == "t" ? Value{rest.toStdString()} : Value{};
}

QString Show(std::optional<double> d) { return d ? QString::number(*d, 'g', 15) : "u"; }

} // namespace

class TestValue : public QObject {
    Q_OBJECT
private slots:
    // A text as a whole decimal number, and its leading number; full-width forms read as
    // their ASCII twins.
    void readText_data() {
        // clang-format off
        AddRows({"text", "decimal", "leading"}, {
            "7|7|7", " \t-7.5 |-7.5|-7.5", "7時|u|7", "1 2|u|12", "\n1\n2|u|12", "|u|0", "  |u|0",
            "abc|u|0", "-|u|0", "+5|5|5", ".5|0.5|0.5", "5.|5|5", "1.2.3|u|1.2", "-3e2|-300|-300",
            "7e|u|7", "7e+|u|7", "1e308|1e+308|1e+308", "1e999|u|u", "-1e999|u|u", "1e-999|0|0",
            "&H1F|u|31", "&hff|u|255", "&O17|u|15", "&O9|u|0", "&H|u|0", "inf|u|0", "nan|u|0",
            "0x10|u|0", "１２|12|12", "　７　|7|7", "－３．５|-3.5|-3.5", "＋１ｅ３|1000|1000",
            "＆Ｈ１Ｆ|u|31", "＆ｏ１７|u|15", "ＡＢＣ|u|0", "７時|u|7", "、７|u|0"});
        // clang-format on
    }
    void readText() {
        QFETCH(QString, text);
        QFETCH(QString, decimal);
        QFETCH(QString, leading);
        const std::string utf8 = text.toStdString();
        QCOMPARE(Show(engine::ReadDecimal(utf8)), decimal);
        QCOMPARE(Show(engine::LeadingNumber(utf8)), leading);
        QCOMPARE(Show(Value{utf8}.toDouble()), decimal);
    }

    // Comparison (empty as 0, exact across kinds, blanks are not the empty text), sums and
    // products that widen, and the halves-to-even conversion to 32 bits.
    void rules_data() {
        // clang-format off
        AddRows({"a", "op", "b", "result"}, {
            "e|<=>|i16 0|==", "e|<=>|i16 1|<", "d 1.5|<=>|i16 1|>", "i32 70000|<=>|d 70000|==",
            "t  |<=>|t|>", "t|<=>|t|==", "e|<=>|t|==", "t 1|<=>|i16 1|?", "d nan|<=>|d nan|?",
            "i16 32767|+|i16 1|i32 32768", "i16 -32768|+|i16 -1|i32 -32769",
            "i32 2147483647|+|i16 1|d 2147483648", "e|+|i16 1|i16 1", "t 1.5|+|i16 1|d 2.5",
            "t 1|+|t 2|d 3", "t abc|+|i16 1|u", "t|+|i16 1|u", "i16 300|*|i16 300|i32 90000",
            "t ２|*|i16 60|d 120", "d 1.5|*|i16 2|d 3", "t 1e308|*|i16 60|u",
            "d 2.5|int||i32 2", "d 3.5|int||i32 4", "d -2.5|int||i32 -2", "d -3.5|int||i32 -4",
            "d 90.5|int||i32 90", "d 1.4999|int||i32 1", "d 2147483647.4|int||i32 2147483647",
            "d 2147483647.5|int||u", "d -2147483648.5|int||i32 -2147483648", "d 3e9|int||u",
            "t 2.5|int||i32 2", "t abc|int||u", "e|int||i32 0", "i16 -7|int||i32 -7"});
        // clang-format on
    }
    void rules() {
        QFETCH(QString, a);
        QFETCH(QString, op);
        QFETCH(QString, b);
        QFETCH(QString, result);
        const Value x = Make(a), y = Make(b);
        if (op == "<=>") {
            const auto o = x <=> y;
            QCOMPARE(QString(o == 0 ? "==" : o < 0 ? "<" : o > 0 ? ">" : "?"), result);
            QCOMPARE(x == y, result == "==");
            return;
        }
        const auto whole = x.toInt32();
        const auto r = op == "+"   ? engine::Add(x, y)
                       : op == "*" ? engine::Multiply(x, y)
                                   : (whole ? std::optional<Value>{Value{*whole}} : std::nullopt);
        QCOMPARE(r.has_value(), result != "u");
        if (r) {
            QCOMPARE(r->storage().index(), Make(result).storage().index());
            QVERIFY(*r == Make(result));
        }
    }
};

QTEST_APPLESS_MAIN(TestValue)
#include "tst_value.moc"
