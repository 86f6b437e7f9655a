// Timings of the bulk script commands on long selections; run by hand, not by ctest.
//   scriptsbench            Formateur "OK" on 100 000 characters, decabiz on 20 000
// Targets: under 0.5 s each, one undo step each. decabiz runs with a stand-in for the
// selection mirror on exo's selection changes: it reads what the real one reads first (font,
// size, bold, italic, underline, colour, offset), so its cost is in the figure.
#include "format/scriptaligner.h"
#include "richtext/richtextfactory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

// Text with every tenth character lowered, as indices in formulas.
std::unique_ptr<RichTextControl> formulas(int length)
{
    auto text = createRichTextControl();
    QByteArray plain;
    plain.reserve(length);
    for (int i = 0; i < length; ++i)
        plain += (i % 60 == 59) ? '\r' : char('a' + i % 26);
    text->setSelFontSize(12);
    text->setSelText(plain);
    for (int position = 9; position < text->textLength(); position += 10) {
        text->setSelection({position, 1});
        text->setSelFontSize(8);
        text->setSelCharOffset(-40);
    }
    text->clearUndo();
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    {
        auto exo = formulas(100000);
        exo->setSelection({0, exo->textLength()});
        QElapsedTimer timer;
        timer.start();
        // What "OK" does: the selection into the hidden buffer, the loop, and back.
        auto iertf = createRichTextControl();
        iertf->setTextRtf(exo->selRtf());
        const qint64 copied = timer.elapsed();
        const int changed = ScriptAligner::alignScripts(*iertf, ScriptAligner::Indices, 10, 5);
        const qint64 looped = timer.elapsed();
        exo->setSelRtf(iertf->textRtf());
        const qint64 total = timer.elapsed();
        int undoSteps = 0;
        while (exo->canUndo() && undoSteps < 5) {
            exo->undo();
            ++undoSteps;
        }
        out << "Formateur OK, " << exo->textLength() << " characters, " << changed << " indices: " << total
            << " ms (copy " << copied << ", loop " << looped - copied << ", paste back " << total - looped
            << "), undo steps " << undoSteps << '\n';
    }
    {
        auto exo = formulas(20000);
        int mirrorRuns = 0;
        QObject::connect(exo.get(), &RichTextControl::selectionChanged, exo.get(), [&] {
            ++mirrorRuns;
            (void)exo->selFontName();
            (void)exo->selFontSize();
            (void)exo->selBold();
            (void)exo->selItalic();
            (void)exo->selUnderline();
            (void)exo->selColor();
            (void)exo->selCharOffset();
        });
        exo->setSelection({0, exo->textLength()});
        QElapsedTimer timer;
        timer.start();
        const int changed = ScriptAligner::raiseBaseline(*exo);
        const qint64 total = timer.elapsed();
        int undoSteps = 0;
        while (exo->canUndo() && undoSteps < 5) {
            exo->undo();
            ++undoSteps;
        }
        out << "decabiz, " << exo->textLength() << " characters, " << changed << " raised, " << mirrorRuns
            << " mirror runs: " << total << " ms, undo steps " << undoSteps << '\n';
    }
    return 0;
}
