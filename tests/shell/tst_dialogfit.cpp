#include "dialogfit.h"
#include "edit/objecttypedialog.h"
#include "format/colorpalettedialog.h"
#include "format/formateur.h"
#include "layout/marginsdialog.h"
#include "layout/tabsdialog.h"
#include "platform/helpwindow.h"
#include "platform/qtinputboxes.h"
#include "platform/qtmessageboxes.h"
#include "richtext/richtextfactory.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessageboxes.h"
#include "search/chercher.h"
#include "search/choixremp.h"
#include "search/remplaceur.h"
#include "symbols/ionformuladialog.h"
#include "symbols/specialcharsdialog.h"
#include "symbols/symbolpalette.h"
#include "tabstops.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// Opens one window of the program and hands it, shown at its opening size, to `inspect`.
using Opener = std::function<void(const std::function<void(QWidget *)> &inspect)>;

// VELIGRAM_SHOTS=folder: each window is also photographed as the desktop shows it, with the
// window manager's frame and title, for a person to look at (X11 and ImageMagick's import).
void photograph()
{
    const QString folder = qEnvironmentVariable("VELIGRAM_SHOTS");
    if (folder.isEmpty())
        return;
    QTest::qWait(400); // the window manager frames and draws the window
    QString name = QString::fromLatin1(QTest::currentDataTag());
    if (name.isEmpty())
        name = QString::fromLatin1(QTest::currentTestFunction());
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
    const QString scale = qApp->devicePixelRatio() > 1 ? QStringLiteral("2x") : QStringLiteral("1x");
    QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                                 QStringLiteral("%1/%2-%3.png").arg(folder, scale, name)});
}

void showAndInspect(QWidget &window, const std::function<void(QWidget *)> &inspect)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qWarning("the window was never exposed");
    photograph();
    inspect(&window);
    window.close();
}

template <typename Make> Opener dialog(Make make)
{
    return [make](const std::function<void(QWidget *)> &inspect) {
        const std::unique_ptr<QWidget> window = make();
        showAndInspect(*window, inspect);
    };
}

// A box the platform service runs modally: inspected from inside its event loop, then closed.
Opener modal(std::function<void()> run)
{
    return [run](const std::function<void(QWidget *)> &inspect) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box)
                return;
            seen = true;
            if (!QTest::qWaitForWindowExposed(box))
                qWarning("the box was never exposed");
            photograph();
            inspect(box);
            if (auto *asDialog = qobject_cast<QDialog *>(box))
                asDialog->reject();
            else
                box->close();
        });
        run();
        if (!seen)
            qWarning("no modal box was shown");
    };
}

IonFormulaStyle ionStyle(double size, bool bold = false, bool italic = false)
{
    IonFormulaStyle style;
    style.fontName = QStringLiteral("Arial");
    style.size = size;
    style.bold = bold;
    style.italic = italic;
    return style;
}

Opener ionComposer(IonFormulaStyle style)
{
    return dialog([style] {
        IonFormulaRequest request;
        request.style = style;
        request.formula = {QStringLiteral("SO"), QStringLiteral("2-"), QStringLiteral("4")};
        return std::make_unique<IonFormulaDialog>(request);
    });
}

Opener messageBox(const QString &text, const QString &title)
{
    return modal([text, title] { QtMessageBoxes().show(text, title, MessageIcon::Stop); });
}

} // namespace

class tst_DialogFit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qInfo("screen %dx%d logical, %g device pixels per pixel",
              QGuiApplication::primaryScreen()->size().width(),
              QGuiApplication::primaryScreen()->size().height(), qApp->devicePixelRatio());
    }

    void init()
    {
        m_exo = createRichTextControl();
        m_exo->setText("Un texte avec des tabulations");
        m_exo->setSelStart(0);
        m_exo->setSelLength(5);
        setStops(*m_exo, {38.3, 76.6, 191.5});
    }

    void cleanup() { m_exo.reset(); }

    void showsEverythingWhole_data()
    {
        QTest::addColumn<int>("window");
        for (int i = 0; i < int(windows().size()); ++i)
            QTest::newRow(qPrintable(windows().at(i).first)) << i;
    }

    void showsEverythingWhole()
    {
        QFETCH(int, window);
        QStringList problems;
        bool inspected = false;
        windows().at(window).second([&](QWidget *shown) {
            inspected = true;
            problems = DialogFit::problems(shown);
        });
        QVERIFY2(inspected, "the window did not open");
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1String("\n   "))));
    }

    // A teacher who does not see the last tab never finds the arrows on it.
    void paletteShowsEveryTab()
    {
        SymbolPalette palette;
        palette.prepareButtons(12);
        palette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        photograph();
        const QTabBar *bar = palette.tabBar();
        QCOMPARE(bar->count(), 3);
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            QVERIFY2(bar->rect().contains(tab),
                     qPrintable(QStringLiteral("\"%1\" lies at %2..%3 of a bar %4 wide")
                                    .arg(bar->tabText(i))
                                    .arg(tab.left())
                                    .arg(tab.right())
                                    .arg(bar->width())));
            // The style insets the caption inside its tab: that inset must leave it whole.
            QStyleOptionTab option;
            option.initFrom(bar);
            option.rect = tab;
            option.text = bar->tabText(i);
            option.shape = bar->shape();
            const QRect caption = bar->style()->subElementRect(QStyle::SE_TabBarTabText, &option, bar);
            const int text = bar->fontMetrics().size(Qt::TextShowMnemonic, bar->tabText(i)).width();
            QVERIFY2(caption.width() >= text, qPrintable(QStringLiteral("\"%1\" needs %2 pixels, has %3")
                                                             .arg(bar->tabText(i))
                                                             .arg(text)
                                                             .arg(caption.width())));
        }
        QVERIFY(bar->rect().contains(bar->tabRect(2).topRight()));
        QCOMPARE(DialogFit::problems(&palette), QStringList());
    }

private:
    const QList<QPair<QString, Opener>> &windows()
    {
        static const QList<QPair<QString, Opener>> list = buildWindows();
        return list;
    }

    QList<QPair<QString, Opener>> buildWindows()
    {
        QList<QPair<QString, Opener>> list;
        auto add = [&](const char *name, Opener opener) {
            list.append({QLatin1String(name), std::move(opener)});
        };
        add("polyion, 10 pt (the smallest it opens at)", ionComposer(ionStyle(10)));
        add("polyion, 12 pt bold", ionComposer(ionStyle(12, true)));
        add("polyion, 16 pt italic", ionComposer(ionStyle(16, false, true)));
        add("polyion, 24 pt", ionComposer(ionStyle(24)));
        add("polyion, 48 pt bold italic", ionComposer(ionStyle(48, true, true)));
        add("polyion, 72 pt", ionComposer(ionStyle(72)));
        add("echanti", dialog([] {
                return std::make_unique<SpecialCharsDialog>(QStringLiteral("Wingdings"),
                                                            QFontDatabase::families(),
                                                            [](const QString &, unsigned char) {});
            }));
        add("coul", dialog([] { return std::make_unique<ColorPaletteDialog>(); }));
        add("Formateur, exponents", dialog([] {
                return std::make_unique<Formateur>(FormateurSettings{1, 8, 5});
            }));
        add("Formateur, indices", dialog([] {
                return std::make_unique<Formateur>(FormateurSettings{2, 40, 50});
            }));
        add("Tabof", dialog([this] {
                auto tabs = std::make_unique<Tabof>(*m_exo, m_messages, [] {});
                if (!tabs->load())
                    qWarning("Tabof refused the stops");
                return tabs;
            }));
        add("marges", dialog([this] { return std::make_unique<marges>(*m_exo); }));
        add("Chercher", dialog([] {
                return std::make_unique<Chercher>(SearchRequest{QStringLiteral("hydrogène"), {}, true, true});
            }));
        add("remplaceur", dialog([] {
                return std::make_unique<remplaceur>(
                    SearchRequest{QStringLiteral("hydrogène"), QStringLiteral("oxygène"), false, true});
            }));
        add("Choixremp", dialog([] { return std::make_unique<Choixremp>(); }));
        add("object type", dialog([this] { return std::make_unique<ObjectTypeDialog>(m_files, QString()); }));
        add("help window", dialog([] {
                auto window = std::make_unique<HelpWindow>();
                HelpFile file;
                const QString path = QStringLiteral(VELIGRAM_HELP_FILE);
                if (!file.load(path))
                    qWarning("no help file at %s", qPrintable(path));
                window->setHelp(file, path);
                window->showContents();
                return window;
            }));
        add("input box, exponent step", modal([] {
                QtInputBoxes().ask(QStringLiteral("Valeur du décalage (de 1 à 20)"),
                                   QStringLiteral("Décalage des exposants"), QStringLiteral("5"));
            }));
        add("input box, index step", modal([] {
                QtInputBoxes().ask(QStringLiteral("Valeur du décalage (de 1 à 20)"),
                                   QStringLiteral("Décalage des indices"), QStringLiteral("5"));
            }));
        add("message box, refused tabs",
            messageBox(
                QStringLiteral("Ne sélectionner qu'une partie du texte avec des tabulations identiques"),
                QStringLiteral("Tabulation refusée")));
        add("message box, exercise without statement",
            messageBox(QStringLiteral("Il n'y a pas d'énoncé (obligatoire) pour cet exercice."),
                       QStringLiteral("Ouverture du texte impossible")));
        add("message box, exercise save with the system's reason",
            messageBox(
                withSystemReason(QStringLiteral("Vérifier:\n- le nom du fichier,\n- l'espace disponible sur "
                                                "le disque\n- la protection en écriture."),
                                 QStringLiteral("No space left on device")),
                QStringLiteral("Sauvegarde impossible")));
        add("message box, a long search text not found",
            messageBox(QStringLiteral("Impossible de trouver ") +
                           QStringLiteral("hexachlorocyclohexane-tétraméthylammonium"),
                       QStringLiteral("Texte introuvable")));
        return list;
    }

    std::unique_ptr<RichTextControl> m_exo;
    ScriptedMessageBoxes m_messages;
    ScriptedFileDialogs m_files;
};

QTEST_MAIN(tst_DialogFit)
#include "tst_dialogfit.moc"
