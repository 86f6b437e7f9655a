#include "layout/centimetres.h"
#include "layout/layoutdialogsmodule.h"
#include "layout/marginsdialog.h"
#include "layout/tabsdialog.h"
#include "richtext/richtextfactory.h"
#include "scriptedmessageboxes.h"
#include "tabstops.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

namespace {

bool sameStops(const QList<double> &a, const QList<double> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (qAbs(a[i] - b[i]) > 1e-6)
            return false;
    }
    return true;
}

QString describe(const QList<double> &stops)
{
    QStringList parts;
    for (const double stop : stops)
        parts << QString::number(stop, 'g', 10);
    return parts.join(QLatin1Char(' '));
}

QStringList linesOf(const QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

// Two paragraphs, both selected, with the given stops each.
void twoParagraphs(RichTextControl &text, const QList<double> &first, const QList<double> &second)
{
    text.setText("un\rdeux");
    text.setSelection({0, 0});
    setStops(text, first);
    text.setSelection({4, 0});
    setStops(text, second);
    text.setSelection({0, 7});
}

} // namespace

class tst_LayoutDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    void init()
    {
        m_exo = createRichTextControl();
        m_exo->setText("Texte");
        m_majregle = 0;
        m_messages.clear();
    }

    void formatAndRead_data();
    void formatAndRead();

    void tabsDefaults();
    void tabsAdd_data();
    void tabsAdd();
    void tabsEntryKeys_data();
    void tabsEntryKeys();
    void tabsEnterAdds();
    void tabsDeleteSelectedRemovesTheLaterEqualStop();
    void tabsDeleteAllAndClosing();
    void tabsClosingRewritesInTextOrder_data();
    void tabsClosingRewritesInTextOrder();
    void tabsMixedStopsAreRefused();

    void marginsDefaults();
    void marginsOpen_data();
    void marginsOpen();
    void marginsValidate_data();
    void marginsValidate();
    void marginsKeys();
    void marginsCancelChangesNothing();
    void marginsMixedIndentsOpenEmpty();

private:
    std::unique_ptr<Tabof> tabs()
    {
        auto dialog = std::make_unique<Tabof>(*m_exo, m_messages, [this] { ++m_majregle; });
        dialog->load();
        return dialog;
    }
    QListWidget *list(Tabof &d, const char *name) { return d.findChild<QListWidget *>(QLatin1String(name)); }
    QLineEdit *entry(QWidget &d, const char *name) { return d.findChild<QLineEdit *>(QLatin1String(name)); }

    std::unique_ptr<RichTextControl> m_exo;
    ScriptedMessageBoxes m_messages;
    int m_majregle = 0;
};

void tst_LayoutDialogs::formatAndRead_data()
{
    QTest::addColumn<double>("cm");
    QTest::addColumn<QString>("french");
    QTest::addColumn<QString>("english");
    QTest::newRow("whole centimetres keep their separator") << 2.0 << "2,"
                                                            << "2.";
    QTest::newRow("one decimal") << 2.5 << "2,5"
                                 << "2.5";
    QTest::newRow("19 pixels rounds to half a centimetre") << 19 / 38.3 << "0,5"
                                                           << "0.5";
    QTest::newRow("two decimals, rounded") << 1.006 << "1,01"
                                           << "1.01";
    QTest::newRow("below a hundredth reads 0") << 0.004 << "0,"
                                               << "0.";
    QTest::newRow("ten and more") << 10.5 << "10,5"
                                  << "10.5";
}

void tst_LayoutDialogs::formatAndRead()
{
    QFETCH(double, cm);
    QFETCH(QString, french);
    QFETCH(QString, english);
    QCOMPARE(Centimetres::format(cm, QLatin1Char(',')), french);
    QCOMPARE(Centimetres::format(cm, QLatin1Char('.')), english);
    double back = -1;
    QVERIFY(Centimetres::readLocal(french, &back));
    QCOMPARE(back, std::round(cm * 100) / 100);
    QVERIFY(Centimetres::readLocal(english, &back));
    QCOMPARE(back, std::round(cm * 100) / 100);
}

void tst_LayoutDialogs::tabsDefaults()
{
    auto dialog = tabs();
    QCOMPARE(dialog->objectName(), QStringLiteral("Tabof"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Tabulations"));
    QVERIFY(dialog->isModal());
    QVERIFY(list(*dialog, "List1"));
    QVERIFY(list(*dialog, "List1")->isSortingEnabled());
    QVERIFY(list(*dialog, "List2")->isHidden());
    QVERIFY(entry(*dialog, "Text1")->text().isEmpty());
    const QList<std::pair<const char *, QString>> buttons = {
        {"Command4", "Ajouter"},
        {"Command2", "Effacer la tabulation sélectionnée"},
        {"Command1", "Effacer tout"},
        {"Command3", "Fermer"}};
    for (const auto &[name, caption] : buttons) {
        auto *button = dialog->findChild<QPushButton *>(QLatin1String(name));
        QVERIFY2(button, name);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->accessibleName(), caption);
    }
    QStringList frames;
    for (const QGroupBox *frame : dialog->findChildren<QGroupBox *>())
        frames << frame->title();
    QCOMPARE(frames, QStringList({"Positions", "Nouvelle tabulation"}));
    auto *hint = dialog->findChild<QLabel *>(QStringLiteral("Label1"));
    QCOMPARE(hint->text(), QStringLiteral("Pour ajouter une tabulation, vous pouvez également cliquer sur la "
                                          "règle avec le bouton droit de la souris"));
    for (QWidget *child : dialog->findChildren<QWidget *>()) {
        if (qobject_cast<QPushButton *>(child) || qobject_cast<QLineEdit *>(child) ||
            qobject_cast<QListWidget *>(child))
            QVERIFY2(!child->accessibleName().isEmpty(), qPrintable(child->objectName()));
    }
}

void tst_LayoutDialogs::tabsAdd_data()
{
    QTest::addColumn<QList<double>>("before");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QList<double>>("after");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("2.5 cm is 95.75") << QList<double>{} << "2.5" << QList<double>{95.75}
                                     << QStringList{"2,5"};
    QTest::newRow("0 adds nothing") << QList<double>{} << "0" << QList<double>{} << QStringList{};
    QTest::newRow("9 adds nothing") << QList<double>{} << "9" << QList<double>{} << QStringList{};
    QTest::newRow("8.5 is accepted") << QList<double>{} << "8.5" << QList<double>{8.5 * 38.3}
                                     << QStringList{"8,5"};
    QTest::newRow("8.51 is refused") << QList<double>{} << "8.51" << QList<double>{} << QStringList{};
    QTest::newRow("empty reads 0") << QList<double>{} << "" << QList<double>{} << QStringList{};
    QTest::newRow("appended after the last stop, not sorted")
        << QList<double>{114.9} << "1" << QList<double>{114.9, 38.3} << QStringList{"1,", "3,"};
    QTest::newRow("a second point ends the number")
        << QList<double>{} << "1.5.2" << QList<double>{1.5 * 38.3} << QStringList{"1,5"};
}

void tst_LayoutDialogs::tabsAdd()
{
    QFETCH(QList<double>, before);
    QFETCH(QString, entry);
    QFETCH(QList<double>, after);
    QFETCH(QStringList, lines);
    setStops(*m_exo, before);
    auto dialog = tabs();
    this->entry(*dialog, "Text1")->setText(entry);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Command4")), Qt::LeftButton);
    QVERIFY2(sameStops(stopsOf(*m_exo), after), qPrintable(describe(stopsOf(*m_exo))));
    QCOMPARE(linesOf(list(*dialog, "List1")), lines);
    QCOMPARE(this->entry(*dialog, "Text1")->text(), after.size() > before.size() ? QString() : entry);
}

void tst_LayoutDialogs::tabsEntryKeys_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("comma becomes point") << "2,5"
                                         << "2.5";
    QTest::newRow("letters and signs are discarded") << "a-1b+2 x"
                                                     << "12";
    QTest::newRow("backspace still erases") << "12\b3"
                                            << "13";
}

void tst_LayoutDialogs::tabsEntryKeys()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    auto dialog = tabs();
    QLineEdit *box = entry(*dialog, "Text1");
    for (const QChar c : typed) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClicks(box, QString(c));
    }
    QCOMPARE(box->text(), shown);
}

void tst_LayoutDialogs::tabsEnterAdds()
{
    auto dialog = tabs();
    QLineEdit *box = entry(*dialog, "Text1");
    QTest::keyClicks(box, QStringLiteral("2,5"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(sameStops(stopsOf(*m_exo), {95.75}));
    QVERIFY(box->text().isEmpty()); // Enter itself typed nothing
    QVERIFY(!dialog->result());     // and did not close the dialog
}

void tst_LayoutDialogs::tabsDeleteSelectedRemovesTheLaterEqualStop()
{
    // 76.6 and 76.62 both read "2,": the later one in stop order goes.
    setStops(*m_exo, {76.6, 114.9, 76.62});
    auto dialog = tabs();
    QListWidget *shown = list(*dialog, "List1");
    QCOMPARE(linesOf(shown), QStringList({"2,", "2,", "3,"}));
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);
    QVERIFY2(sameStops(stopsOf(*m_exo), {76.6, 114.9, 76.62}), "nothing selected: nothing deleted");
    shown->setCurrentRow(0);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);
    QVERIFY2(sameStops(stopsOf(*m_exo), {76.6, 114.9}), qPrintable(describe(stopsOf(*m_exo))));
    QCOMPARE(linesOf(shown), QStringList({"2,", "3,"}));
}

void tst_LayoutDialogs::tabsDeleteAllAndClosing()
{
    setStops(*m_exo, {38.3, 76.6});
    auto dialog = tabs();
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(m_exo->selTabCount().valueOr(-1), 0);
    QVERIFY(list(*dialog, "List1")->count() == 0);
    QCOMPARE(m_majregle, 0);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Command3")), Qt::LeftButton);
    QCOMPARE(m_majregle, 1);
    dialog->reject(); // closing twice writes once
    QCOMPARE(m_majregle, 1);
}

void tst_LayoutDialogs::tabsClosingRewritesInTextOrder_data()
{
    QTest::addColumn<QList<double>>("before");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QList<double>>("stored");
    QTest::newRow("added 3, 1, 2: stored 1, 2, 3")
        << QList<double>{} << QStringList{"3", "1", "2"} << QList<double>{38.3, 76.6, 114.9};
    QTest::newRow("10.5 cm sorts before 2 and is stored first")
        << QList<double>{76.6, 10.5 * 38.3} << QStringList{} << QList<double>{10.5 * 38.3, 76.6};
    QTest::newRow("positions pass through hundredths")
        << QList<double>{50} << QStringList{} << QList<double>{1.31 * 38.3};
}

void tst_LayoutDialogs::tabsClosingRewritesInTextOrder()
{
    QFETCH(QList<double>, before);
    QFETCH(QStringList, entries);
    QFETCH(QList<double>, stored);
    setStops(*m_exo, before);
    {
        auto dialog = tabs();
        for (const QString &typed : entries) {
            entry(*dialog, "Text1")->setText(typed);
            dialog->ajouter();
        }
        dialog->reject(); // Escape or the close box: the same rewrite
    }
    QVERIFY2(sameStops(stopsOf(*m_exo), stored), qPrintable(describe(stopsOf(*m_exo))));
    QCOMPARE(m_majregle, 1);
}

void tst_LayoutDialogs::tabsMixedStopsAreRefused()
{
    twoParagraphs(*m_exo, {38.3}, {76.6, 114.9});
    m_messages.answerNext(MessageAnswer::Ok);
    showTabsDialog(
        *m_exo, m_messages, [this] { ++m_majregle; }, nullptr); // returns: never shown
    QCOMPARE(m_messages.asked().size(), 1);
    QCOMPARE(m_messages.asked()[0].text,
             QStringLiteral("Ne sélectionner qu'une partie du texte avec des tabulations identiques"));
    QCOMPARE(m_messages.asked()[0].title, QStringLiteral("Tabulation refusée"));
    QCOMPARE(m_messages.asked()[0].icon, MessageIcon::Stop);
    QCOMPARE(m_majregle, 0);
    m_exo->setSelection({0, 0});
    QVERIFY(sameStops(stopsOf(*m_exo), {38.3}));
}

void tst_LayoutDialogs::marginsDefaults()
{
    marges dialog(*m_exo);
    QCOMPARE(dialog.objectName(), QStringLiteral("marges"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Les marges"));
    QVERIFY(dialog.isModal());
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("Marge gauche:"));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("Marge droite:"));
    QCOMPARE(entry(dialog, "Text1_0")->accessibleName(), QStringLiteral("Marge gauche:"));
    QCOMPARE(entry(dialog, "Text1_1")->accessibleName(), QStringLiteral("Marge droite:"));
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("Valider"));
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("Command2"))->text(), QStringLiteral("Annuler"));
}

void tst_LayoutDialogs::marginsOpen_data()
{
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::addColumn<QString>("leftShown");
    QTest::addColumn<QString>("rightShown");
    QTest::newRow("19 opens as 0,5") << 19.0 << 12.0 << "0,5"
                                     << "0,31";
    QTest::newRow("one centimetre keeps its comma") << 38.3 << 0.0 << "1,"
                                                    << "0,";
}

void tst_LayoutDialogs::marginsOpen()
{
    QFETCH(double, left);
    QFETCH(double, right);
    QFETCH(QString, leftShown);
    QFETCH(QString, rightShown);
    m_exo->setSelIndent(left);
    m_exo->setSelRightIndent(right);
    marges dialog(*m_exo);
    QCOMPARE(entry(dialog, "Text1_0")->text(), leftShown);
    QCOMPARE(entry(dialog, "Text1_1")->text(), rightShown);
}

void tst_LayoutDialogs::marginsValidate_data()
{
    QTest::addColumn<QString>("leftText");
    QTest::addColumn<QString>("rightText");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::newRow("5 for the right margin stores 153.2") << "1"
                                                         << "5" << 38.3 << 153.2;
    QTest::newRow("an empty box leaves that indent") << ""
                                                     << "2,5" << 19.0 << 95.75;
    QTest::newRow("blanks count as empty") << "  "
                                           << "" << 19.0 << 12.0;
    QTest::newRow("unreadable text stores 0") << "1,2,3"
                                              << "4," << 0.0 << 153.2;
    QTest::newRow("4 exactly is kept") << "4"
                                       << "0" << 153.2 << 0.0;
}

void tst_LayoutDialogs::marginsValidate()
{
    QFETCH(QString, leftText);
    QFETCH(QString, rightText);
    QFETCH(double, left);
    QFETCH(double, right);
    m_exo->setSelIndent(19);
    m_exo->setSelRightIndent(12);
    marges dialog(*m_exo);
    entry(dialog, "Text1_0")->setText(leftText);
    entry(dialog, "Text1_1")->setText(rightText);
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY2(qAbs(m_exo->selIndent().valueOr(-1) - left) < 1e-6,
             qPrintable(QString::number(m_exo->selIndent().valueOr(-1))));
    QVERIFY2(qAbs(m_exo->selRightIndent().valueOr(-1) - right) < 1e-6,
             qPrintable(QString::number(m_exo->selRightIndent().valueOr(-1))));
}

void tst_LayoutDialogs::marginsKeys()
{
    marges dialog(*m_exo);
    QLineEdit *left = entry(dialog, "Text1_0");
    left->clear();
    QTest::keyClicks(left, QStringLiteral("1.5x-"));
    QCOMPARE(left->text(), QStringLiteral("1,5"));
    QTest::keyClick(left, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(qAbs(m_exo->selIndent().valueOr(-1) - 1.5 * 38.3) < 1e-6);
}

void tst_LayoutDialogs::marginsCancelChangesNothing()
{
    m_exo->setSelIndent(19);
    marges dialog(*m_exo);
    entry(dialog, "Text1_0")->setText(QStringLiteral("3"));
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_exo->selIndent().valueOr(-1), 19.0);
}

void tst_LayoutDialogs::marginsMixedIndentsOpenEmpty()
{
    m_exo->setText("un\rdeux");
    m_exo->setSelection({0, 0});
    m_exo->setSelIndent(19);
    m_exo->setSelection({4, 0});
    m_exo->setSelIndent(38.3);
    m_exo->setSelection({0, 7});
    m_exo->setSelRightIndent(12);
    marges dialog(*m_exo);
    QVERIFY(entry(dialog, "Text1_0")->text().isEmpty());
    QCOMPARE(entry(dialog, "Text1_1")->text(), QStringLiteral("0,31"));
    entry(dialog, "Text1_1")->setText(QStringLiteral("1"));
    dialog.valider();
    m_exo->setSelection({0, 0});
    QCOMPARE(m_exo->selIndent().valueOr(-1), 19.0);
    m_exo->setSelection({4, 0});
    QCOMPARE(m_exo->selIndent().valueOr(-1), 38.3);
    QCOMPARE(m_exo->selRightIndent().valueOr(-1), 38.3);
}

QTEST_MAIN(tst_LayoutDialogs)
#include "tst_layoutdialogs.moc"
