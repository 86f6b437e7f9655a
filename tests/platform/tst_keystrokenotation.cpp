#include "platform/keystrokenotation.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTest>

Q_DECLARE_METATYPE(QList<KeyStroke>)

namespace {

KeyStroke key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString())
{
    return {code, modifiers, text};
}

} // namespace

char *toString(const KeyStroke &stroke)
{
    return qstrdup(QStringLiteral("key 0x%1 modifiers 0x%2 text \"%3\"")
                       .arg(stroke.key, 0, 16)
                       .arg(int(stroke.modifiers), 0, 16)
                       .arg(stroke.text)
                       .toUtf8()
                       .constData());
}

class tst_KeystrokeNotation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void parses_data();
    void parses();
    void rejects_data();
    void rejects();
    void deliversToTheWidget();
    void undoAndPasteReachAnEditor();
};

void tst_KeystrokeNotation::parses_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<KeyStroke>>("expected");
    const auto shift = Qt::ShiftModifier;
    const auto ctrl = Qt::ControlModifier;
    const auto alt = Qt::AltModifier;
    QTest::newRow("Shift+Insert pastes") << "+{INSERT}" << QList{key(Qt::Key_Insert, shift)};
    QTest::newRow("Ctrl+Z undoes, types nothing") << "^z" << QList{key(Qt::Key_Z, ctrl)};
    QTest::newRow("Alt+F") << "%f" << QList{key(Qt::Key_F, alt)};
    QTest::newRow("tab") << "{TAB}" << QList{key(Qt::Key_Tab)};
    QTest::newRow("enter") << "{ENTER}" << QList{key(Qt::Key_Return)};
    QTest::newRow("tilde is enter") << "~" << QList{key(Qt::Key_Return)};
    QTest::newRow("names ignore case") << "{insert}{Del}" << QList{key(Qt::Key_Insert), key(Qt::Key_Delete)};
    QTest::newRow("plain characters type themselves")
        << "aB1" << QList{key(Qt::Key_A, {}, "a"), key(Qt::Key_B, {}, "B"), key(Qt::Key_1, {}, "1")};
    QTest::newRow("accented letter") << "é" << QList{key(0xC9, {}, "é")};
    QTest::newRow("modifier applies to one key")
        << "+ab" << QList{key(Qt::Key_A, shift, "a"), key(Qt::Key_B, {}, "b")};
    QTest::newRow("modifier group") << "^(ab)" << QList{key(Qt::Key_A, ctrl), key(Qt::Key_B, ctrl)};
    QTest::newRow("two modifiers") << "^+{END}" << QList{key(Qt::Key_End, ctrl | shift)};
    QTest::newRow("repeat count") << "{LEFT 3}"
                                  << QList{key(Qt::Key_Left), key(Qt::Key_Left), key(Qt::Key_Left)};
    QTest::newRow("escaped plus") << "{+}" << QList{key(Qt::Key_Plus, {}, "+")};
    QTest::newRow("escaped closing brace") << "{}}" << QList{key(Qt::Key_BraceRight, {}, "}")};
    QTest::newRow("escaped opening brace") << "{{}" << QList{key(Qt::Key_BraceLeft, {}, "{")};
    QTest::newRow("function key") << "{F3}" << QList{key(Qt::Key_F3)};
    QTest::newRow("F16 is the last") << "{F16}" << QList{key(Qt::Key_F16)};
    QTest::newRow("empty sends nothing") << "" << QList<KeyStroke>{};
}

void tst_KeystrokeNotation::parses()
{
    QFETCH(QString, keys);
    QFETCH(QList<KeyStroke>, expected);
    const std::optional<QList<KeyStroke>> strokes = parseKeystrokes(keys);
    QVERIFY(strokes.has_value());
    QCOMPARE(strokes->size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(strokes->at(i), expected.at(i));
}

void tst_KeystrokeNotation::rejects_data()
{
    QTest::addColumn<QString>("keys");
    QTest::newRow("unknown name") << "{INSERTION}";
    QTest::newRow("unclosed brace") << "{TAB";
    QTest::newRow("empty braces") << "{}";
    QTest::newRow("stray closing brace") << "a}";
    QTest::newRow("modifier at the end") << "a+";
    QTest::newRow("unclosed group") << "+(ab";
    QTest::newRow("stray parenthesis") << "a)";
    QTest::newRow("nested group") << "+(a^(b))";
    QTest::newRow("huge repeat") << "{LEFT 100000}";
    QTest::newRow("F17 does not exist") << "{F17}";
    QTest::newRow("F0 does not exist") << "{F0}";
}

void tst_KeystrokeNotation::rejects()
{
    QFETCH(QString, keys);
    QVERIFY(!parseKeystrokes(keys).has_value());
}

void tst_KeystrokeNotation::deliversToTheWidget()
{
    QLineEdit edit;
    deliverKeystrokes(&edit, *parseKeystrokes(QStringLiteral("ab{BS}c")));
    QCOMPARE(edit.text(), QStringLiteral("ac")); // synchronous: done when the call returns
    deliverKeystrokes(nullptr, *parseKeystrokes(QStringLiteral("x"))); // nobody focused: nothing
}

void tst_KeystrokeNotation::undoAndPasteReachAnEditor()
{
    QPlainTextEdit edit;
    deliverKeystrokes(&edit, *parseKeystrokes(QStringLiteral("ab")));
    deliverKeystrokes(&edit, *parseKeystrokes(QStringLiteral("^z")));
    QCOMPARE(edit.toPlainText(), QString()); // Ctrl+Z undid, and typed no "z"
    QGuiApplication::clipboard()->setText(QStringLiteral("collé"));
    deliverKeystrokes(&edit, *parseKeystrokes(QStringLiteral("+{INSERT}")));
    QCOMPARE(edit.toPlainText(), QStringLiteral("collé"));
}

QTEST_MAIN(tst_KeystrokeNotation)
#include "tst_keystrokenotation.moc"
