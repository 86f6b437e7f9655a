#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "rtf/cp1252.h"
#include "scriptedmessageboxes.h"
#include "search/textreplacer.h"

#include <QQueue>
#include <QStandardPaths>
#include <QTest>

namespace {

struct ReplaceFixture
{
    EditorState state;
    ScriptedMessageBoxes messages;
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    TextReplacer replacer{*exo, state, messages};
    QQueue<PromptAnswer> answers;
    QList<TextRange> prompted; // the selection each prompt showed
    TextReplacer::Prompt prompt = [this] {
        prompted.append(exo->selection());
        if (answers.isEmpty()) {
            qWarning("prompt shown with no answer queued");
            return PromptAnswer::Cancel;
        }
        return answers.dequeue();
    };

    explicit ReplaceFixture(const QString &text) { exo->setText(Cp1252::encode(text)); }
    QString text() const { return Cp1252::decode(exo->text()); }
};

SearchRequest request(const QString &search, const QString &replacement, int options = 0)
{
    SearchRequest r;
    r.searchText = search;
    r.replaceText = replacement;
    r.setFindOptions(options);
    return r;
}

QString completion(const QString &search, const QString &replacement)
{
    return QStringLiteral("Remplacement de ") + search + QStringLiteral(" par ") + replacement +
           QStringLiteral(" terminé.");
}

} // namespace

class tst_TextReplacer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void replaceAll_data();
    void replaceAll();
    void replaceAllIsOneUndoStep();
    void replaceAllLeavesProtectedOccurrences();
    void replaceAllRefusesAnEmptySearchText();
    void replaceAllWithoutAnyMatchSaysNothing();
    void oneByOne_data();
    void oneByOne();
    void promptReplaceAllRestartsFromTheStart();
    void dialogPrefillAndClose();
};

void tst_TextReplacer::replaceAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("expected");
    QTest::newRow("replacement contains the search text") << "a a a"
                                                          << "a"
                                                          << "ab" << 0 << "ab ab ab";
    QTest::newRow("only match at index 0") << "x et rien"
                                           << "x"
                                           << "y" << 0 << "y et rien";
    QTest::newRow("match at 0 growing") << "aXa"
                                        << "a"
                                        << "aa" << 0 << "aaXaa";
    QTest::newRow("shrinking to nothing") << "aaaa"
                                          << "a"
                                          << "" << 0 << "";
    QTest::newRow("overlapping candidates, left to right") << "aaa"
                                                           << "aa"
                                                           << "b" << 0 << "ba";
    QTest::newRow("case ignored, accents kept")
        << QString::fromUtf8("ÉCOLE école Ecole") << QString::fromUtf8("école") << "X" << 0
        << QString::fromUtf8("X X Ecole");
    QTest::newRow("whole words against the original text") << "-- x-x"
                                                           << "-"
                                                           << "a" << 2 << "aa x-x";
}

void tst_TextReplacer::replaceAll()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(QString, replacement);
    QFETCH(int, options);
    QFETCH(QString, expected);
    ReplaceFixture f(text);
    f.messages.answerNext(MessageAnswer::Ok);
    QVERIFY(f.replacer.replaceAll(request(search, replacement, options)));
    QCOMPARE(f.text(), expected);
    QCOMPARE(f.messages.askedTexts(), QStringList{completion(search, replacement)});
    QCOMPARE(f.messages.asked().at(0).title, QStringLiteral("Remplacement achevé"));
    QCOMPARE(f.state.replaceReported, int16_t(1));
    QCOMPARE(f.state.searchText, search);
    QCOMPARE(f.state.replaceText, replacement);
}

void tst_TextReplacer::replaceAllIsOneUndoStep()
{
    ReplaceFixture f(QStringLiteral("un a, deux a, trois a"));
    f.messages.answerNext(MessageAnswer::Ok);
    f.replacer.replaceAll(request(QStringLiteral("a"), QStringLiteral("b")));
    QCOMPARE(f.text(), QStringLiteral("un b, deux b, trois b"));
    f.exo->undo();
    QCOMPARE(f.text(), QStringLiteral("un a, deux a, trois a"));
}

void tst_TextReplacer::replaceAllLeavesProtectedOccurrences()
{
    ReplaceFixture f(QStringLiteral("a [a] a [a]"));
    f.exo->setSelection({2, 3});
    f.exo->setSelProtected(true);
    f.exo->setSelection({8, 2}); // a protected run that starts before the match
    f.exo->setSelProtected(true);
    f.messages.answerNext(MessageAnswer::Ok);
    f.replacer.replaceAll(request(QStringLiteral("a"), QStringLiteral("b")));
    QCOMPARE(f.text(), QStringLiteral("b [a] b [a]"));
    QCOMPARE(f.messages.askedTexts(),
             QStringList{completion("a", "b") +
                         QStringLiteral("\n2 occurrences protégées n'ont pas été remplacées.")});
}

void tst_TextReplacer::replaceAllRefusesAnEmptySearchText()
{
    ReplaceFixture f(QStringLiteral("abc"));
    f.messages.answerNext(MessageAnswer::Ok);
    QVERIFY(!f.replacer.replaceAll(request(QString(), QStringLiteral("b"))));
    QCOMPARE(f.messages.asked().at(0).text, QStringLiteral("Il faut saisir une chaîne à remplacer"));
    QCOMPARE(f.messages.asked().at(0).title, QStringLiteral("Remplacement impossible"));
    QCOMPARE(f.messages.asked().at(0).icon, MessageIcon::Stop);
    QCOMPARE(f.text(), QStringLiteral("abc"));
}

void tst_TextReplacer::replaceAllWithoutAnyMatchSaysNothing()
{
    ReplaceFixture f(QStringLiteral("abc"));
    f.messages.answerNext(MessageAnswer::Ok); // commun's "Texte introuvable", nothing after
    QVERIFY(f.replacer.replaceAll(request(QStringLiteral("z"), QStringLiteral("y"))));
    QCOMPARE(f.messages.askedTexts(), QStringList{QStringLiteral("Impossible de trouver z")});
    QCOMPARE(f.state.replaceReported, int16_t(1));
}

void tst_TextReplacer::oneByOne_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QList<PromptAnswer>>("answers");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<TextRange>>("prompted");
    QTest::addColumn<bool>("reported");
    using A = PromptAnswer;
    QTest::newRow("skip every match changes nothing, still reports")
        << "a a"
        << "a"
        << "b" << QList<A>{A::Skip, A::Skip} << "a a" << QList<TextRange>{{0, 1}, {2, 1}} << true;
    QTest::newRow("resume after the inserted text")
        << "a a"
        << "a"
        << "aa" << QList<A>{A::Replace, A::Replace} << "aa aa" << QList<TextRange>{{0, 1}, {3, 1}} << true;
    QTest::newRow("replace at 0 by nothing goes on")
        << "xax"
        << "x"
        << "" << QList<A>{A::Replace, A::Replace} << "a" << QList<TextRange>{{0, 1}, {1, 1}} << true;
    QTest::newRow("cancel ends without message")
        << "a a"
        << "a"
        << "b" << QList<A>{A::Replace, A::Cancel} << "b a" << QList<TextRange>{{0, 1}, {2, 1}} << false;
}

void tst_TextReplacer::oneByOne()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(QString, replacement);
    QFETCH(QList<PromptAnswer>, answers);
    QFETCH(QString, expected);
    QFETCH(QList<TextRange>, prompted);
    QFETCH(bool, reported);
    ReplaceFixture f(text);
    for (PromptAnswer answer : answers)
        f.answers.enqueue(answer);
    if (reported)
        f.messages.answerNext(MessageAnswer::Ok);
    QVERIFY(f.replacer.replaceOneByOne(request(search, replacement), f.prompt));
    QCOMPARE(f.text(), expected);
    QCOMPARE(f.prompted, prompted);
    QVERIFY(f.answers.isEmpty());
    QCOMPARE(f.messages.askedTexts(),
             reported ? QStringList{completion(search, replacement)} : QStringList{});
    QCOMPARE(f.state.replaceReported, int16_t(reported ? 1 : 0));
}

void tst_TextReplacer::promptReplaceAllRestartsFromTheStart()
{
    ReplaceFixture f(QStringLiteral("a a a"));
    f.answers << PromptAnswer::Skip << PromptAnswer::ReplaceAll;
    f.messages.answerNext(MessageAnswer::Ok);
    QVERIFY(f.replacer.replaceOneByOne(request(QStringLiteral("a"), QStringLiteral("b")), f.prompt));
    QCOMPARE(f.text(), QStringLiteral("b b b")); // the skipped first match too
    QCOMPARE(f.state.lastFoundPosition, 0);
    QCOMPARE(f.messages.askedTexts(), QStringList{completion("a", "b")});
}

void tst_TextReplacer::dialogPrefillAndClose()
{
    ReplaceFixture f(QStringLiteral("le chat dort"));
    f.state.searchText = QStringLiteral("avant");
    f.state.replaceText = QStringLiteral("après");
    f.state.findOptions = 6;
    SearchRequest shown = f.replacer.openReplaceDialog();
    QCOMPARE(shown, request(QStringLiteral("avant"), QStringLiteral("après"), 6));
    f.exo->setSelection({3, 4});
    shown = f.replacer.openReplaceDialog();
    QCOMPARE(shown.searchText, QStringLiteral("chat"));
    QCOMPARE(shown.replaceText, QStringLiteral("après"));
    f.replacer.dialogClosed();
    QCOMPARE(f.exo->selection(), (TextRange{3, 0}));
    f.replacer.cancel();
    QVERIFY(f.state.searchText.isEmpty());
}

QTEST_MAIN(tst_TextReplacer)
#include "tst_textreplacer.moc"
