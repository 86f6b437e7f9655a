#include "platform/frenchtranslations.h"
#include "platform/qtmessageboxes.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(MessageButtons)
Q_DECLARE_METATYPE(MessageAnswer)

namespace {

// Acts on the message box once it is shown by QtMessageBoxes::show's own event loop.
void whenBoxShows(const std::function<void(QMessageBox &)> &act)
{
    QTimer::singleShot(0, [act] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        act(*box);
    });
}

QStringList buttonTexts(const QMessageBox &box)
{
    QStringList texts;
    for (QAbstractButton *button : box.buttons())
        texts.append(button->text());
    texts.sort();
    return texts;
}

} // namespace

class tst_QtMessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void frenchButtons_data();
    void frenchButtons();
    void escapeGivesTheCautiousAnswer_data();
    void escapeGivesTheCautiousAnswer();
    void textIconAndTitle();
    void qtOwnTextsAreFrench();
};

void tst_QtMessageBoxes::frenchButtons_data()
{
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("Yes/No") << MessageButtons::YesNo << QStringList{"&Non", "&Oui"};
    QTest::newRow("OK/Cancel") << MessageButtons::OkCancel << QStringList{"Annuler", "OK"};
    QTest::newRow("Yes/No/Cancel") << MessageButtons::YesNoCancel << QStringList{"&Non", "&Oui", "Annuler"};
    QTest::newRow("Abort/Retry/Ignore")
        << MessageButtons::AbortRetryIgnore << QStringList{"&Abandonner", "&Ignorer", "&Réessayer"};
}

void tst_QtMessageBoxes::frenchButtons()
{
    QFETCH(MessageButtons, buttons);
    QFETCH(QStringList, texts);
    QStringList seen;
    whenBoxShows([&seen](QMessageBox &box) {
        seen = buttonTexts(box);
        box.buttons().front()->click();
    });
    QtMessageBoxes().show(QStringLiteral("Question ?"), QStringLiteral("Titre"), MessageIcon::Question,
                          buttons);
    QCOMPARE(seen, texts);
}

void tst_QtMessageBoxes::escapeGivesTheCautiousAnswer_data()
{
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<MessageAnswer>("expected");
    QTest::newRow("Yes/No") << MessageButtons::YesNo << MessageAnswer::No;
    QTest::newRow("OK/Cancel") << MessageButtons::OkCancel << MessageAnswer::Cancel;
    QTest::newRow("OK") << MessageButtons::Ok << MessageAnswer::Ok;
}

void tst_QtMessageBoxes::escapeGivesTheCautiousAnswer()
{
    QFETCH(MessageButtons, buttons);
    QFETCH(MessageAnswer, expected);
    whenBoxShows([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Escape); });
    const MessageAnswer answer = QtMessageBoxes().show(QStringLiteral("Question ?"), QStringLiteral("Titre"),
                                                       MessageIcon::None, buttons);
    QVERIFY(answer == expected);
}

void tst_QtMessageBoxes::textIconAndTitle()
{
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenBoxShows([&](QMessageBox &box) {
        text = box.text();
        title = box.windowTitle();
        icon = box.icon();
        box.button(QMessageBox::Yes)->click();
    });
    const MessageAnswer answer = QtMessageBoxes().show(QStringLiteral("Ecraser le fichier existant?"),
                                                       QStringLiteral("Ce fichier existe déjà"),
                                                       MessageIcon::Exclamation, MessageButtons::YesNo);
    QVERIFY(answer == MessageAnswer::Yes);
    QCOMPARE(text, QStringLiteral("Ecraser le fichier existant?"));
    QCOMPARE(title, QStringLiteral("Ce fichier existe déjà"));
    QCOMPARE(icon, QMessageBox::Warning);
}

void tst_QtMessageBoxes::qtOwnTextsAreFrench()
{
    QVERIFY(installFrenchTranslations(*qApp));
    QCOMPARE(QLocale().language(), QLocale::French);
    // Qt's standard buttons, as other dialogs built on them show them.
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Oui"));
    QCOMPARE(buttons.button(QDialogButtonBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Non"));
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
             QStringLiteral("Annuler"));
}

QTEST_MAIN(tst_QtMessageBoxes)
#include "tst_qtmessageboxes.moc"
