#include "commands.h"
#include "richtext/richtextcontrol.h"
#include "richtext/richtextfactory.h"
#include "spell/dictionarylocator.h"
#include "spell/hunspellengine.h"
#include "spell/spellchecker.h"
#include "spell/wordscanner.h"

#include <QTextStream>

namespace {

constexpr int kSuggestionsShown = 3;

int fail(const QString &message)
{
    QTextStream(stderr) << "veligram-tool: " << message << '\n';
    return 2;
}

} // namespace

// spell FILE...: each unknown word as "FILE:PARAGRAPH:COLUMN: word -> suggestions", both counted
// from 1; status 0 when every word is known, 1 when some are not, 2 when a file or the
// dictionary cannot be read.
int runSpellCommand(const QStringList &args)
{
    if (args.isEmpty())
        return fail(QStringLiteral("usage: veligram-tool spell FILE..."));
    const auto files = DictionaryLocator::findFrench(DictionaryLocator::searchFolders());
    const std::unique_ptr<HunspellEngine> engine = files ? HunspellEngine::open(*files) : nullptr;
    if (!engine)
        return fail(QStringLiteral("no French dictionary: install %1")
                        .arg(QLatin1String(DictionaryLocator::kFrenchPackage)));
    QTextStream out(stdout);
    bool unknown = false;
    bool failed = false;
    for (const QString &path : args) {
        const std::unique_ptr<RichTextControl> text = createRichTextControl();
        if (!text->loadFile(path)) {
            QTextStream(stderr) << "veligram-tool: cannot read " << path << '\n';
            failed = true;
            continue;
        }
        SpellChecker checker(*text, *engine);
        checker.setEnabled(true);
        checker.checkAll();
        for (int paragraph = 0; paragraph < text->paragraphCount(); ++paragraph) {
            const int start = text->paragraphText(paragraph).start;
            for (const TextRange &mark : text->spellingMarks(paragraph)) {
                const QString word = checker.wordAt(mark);
                unknown = true;
                out << path << ':' << paragraph + 1 << ':' << mark.start - start + 1 << ": " << word << " -> "
                    << engine->suggestions(WordScanner::normalized(word), kSuggestionsShown)
                           .join(QStringLiteral(", "))
                    << '\n';
            }
        }
    }
    return failed ? 2 : unknown ? 1 : 0;
}
