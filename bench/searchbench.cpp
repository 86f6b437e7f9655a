// Timings of find and replace over large texts; run by hand, not by ctest.
//   searchbench            1 MB with 10 000 replacements, then find over 10 MB
#include "platform/editorstate.h"
#include "platform/messageboxes.h"
#include "richtext/richtextfactory.h"
#include "search/textreplacer.h"
#include "search/textsearch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class SilentMessages : public MessageBoxes
{
public:
    MessageAnswer show(const QString &, const QString &, MessageIcon, MessageButtons) override
    {
        return MessageAnswer::Ok;
    }
};

// `count` paragraphs of 100 characters, each holding one "chat" when `withMatch`.
QByteArray sampleText(int count, bool withMatch)
{
    const QByteArray words = withMatch ? "Le chat dort au soleil. " : "Le loup dort au soleil. ";
    return QByteArray(words.leftJustified(99, 'x', true) + '\r').repeated(count);
}

// The median of three runs, each on a fresh control.
double replaceAll(bool shown)
{
    std::vector<double> runs;
    int made = 0;
    int left = 0;
    for (int run = 0; run < 3; ++run) {
        const auto exo = createRichTextControl();
        if (shown)
            exo->widget()->show();
        exo->setText(sampleText(10000, true)); // 1 MB
        EditorState state;
        SilentMessages messages;
        TextReplacer replacer(*exo, state, messages);
        SearchRequest request;
        request.searchText = QStringLiteral("chat");
        request.replaceText = QStringLiteral("chien");
        QElapsedTimer timer;
        timer.start();
        replacer.replaceAll(request);
        runs.push_back(timer.nsecsElapsed() / 1e9);
        left = int(exo->findAll("chat").size());
        made = int(exo->findAll("chien").size());
    }
    std::sort(runs.begin(), runs.end());
    std::printf("replace-all, 1 MB, %s: %d replaced, %d left, %.3f s (median of 3)\n",
                shown ? "shown" : "hidden", made, left, runs[1]);
    return runs[1];
}

void findInTenMegabytes()
{
    const auto exo = createRichTextControl();
    exo->widget()->show();
    QByteArray text = sampleText(100000, false); // 10 MB
    for (qsizetype at : {qsizetype(10), text.size() / 2, text.size() - 20})
        text.replace(at, 4, "chat");
    exo->setText(text);
    {
        // Qt lays the rest of the text out in the background after a load; a match far away
        // before that is done waits for the layout up to it. Let it finish, as it does while
        // the teacher reads the first page, and time the search itself.
        auto *edit = qobject_cast<QTextEdit *>(exo->widget());
        QElapsedTimer layout;
        layout.start();
        while (edit && !edit->document()->lastBlock().layout()->lineCount() && layout.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        std::printf("background layout of 10 MB after loading: %.0f ms\n", layout.nsecsElapsed() / 1e6);
    }
    EditorState state;
    SilentMessages messages;
    TextSearch search(*exo, state, messages);
    state.searchText = QStringLiteral("chat");
    state.lastFoundPosition = -1;
    for (int i = 0; i < 4; ++i) {
        QElapsedTimer timer;
        timer.start();
        search.continueSearch();
        std::printf("continue-search on 10 MB: match at %d after %.1f ms\n", state.lastFoundPosition,
                    timer.nsecsElapsed() / 1e6);
    }
    state.searchText = QStringLiteral("absent");
    QElapsedTimer timer;
    timer.start();
    search.continueSearch();
    std::printf("continue-search on 10 MB, no match (two passes): %.1f ms\n", timer.nsecsElapsed() / 1e6);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    replaceAll(false);
    replaceAll(true);
    findInTenMegabytes();
    return 0;
}
