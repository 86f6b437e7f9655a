#include "hunspellengine.h"

#include "spelllog.h"

#include <QFile>

#include <chrono>
#include <hunspell/hunspell.hxx>
#include <utility>

namespace {

// Hunspell refuses longer words; asking would only cost time.
constexpr int kLongestWord = 100;

} // namespace

std::unique_ptr<HunspellEngine> HunspellEngine::open(const DictionaryFiles &files)
{
    if (!QFile::exists(files.affixPath) || !QFile::exists(files.wordsPath))
        return nullptr;
    auto hunspell = std::make_unique<Hunspell>(QFile::encodeName(files.affixPath).constData(),
                                               QFile::encodeName(files.wordsPath).constData());
    const QString encoding = QString::fromStdString(hunspell->get_dict_encoding()).toUpper();
    const bool utf8 = encoding == QLatin1String("UTF-8");
    if (!utf8 && !encoding.startsWith(QLatin1String("ISO8859-1")) &&
        !encoding.startsWith(QLatin1String("ISO-8859-1")))
        qCWarning(lcSpell) << "dictionary encoding" << encoding << "read as Latin-1";
    std::unique_ptr<HunspellEngine> engine(new HunspellEngine(std::move(hunspell), utf8));
    // Hunspell opens anything; a dictionary that knows no common word is no dictionary.
    if (!engine->isCorrect(QStringLiteral("eau")) && !engine->isCorrect(QStringLiteral("et"))) {
        qCWarning(lcSpell) << "no French words in" << files.wordsPath;
        return nullptr;
    }
    return engine;
}

HunspellEngine::HunspellEngine(std::unique_ptr<Hunspell> hunspell, bool utf8)
    : m_hunspell(std::move(hunspell)), m_utf8(utf8)
{}

HunspellEngine::~HunspellEngine() = default;

std::string HunspellEngine::encoded(const QString &word) const
{
    return m_utf8 ? word.toStdString() : word.toLatin1().toStdString();
}

QString HunspellEngine::decoded(const std::string &word) const
{
    return m_utf8 ? QString::fromStdString(word) : QString::fromLatin1(word.data(), qsizetype(word.size()));
}

bool HunspellEngine::isCorrect(const QString &word)
{
    if (word.isEmpty() || word.size() > kLongestWord)
        return true;
    return m_hunspell->spell(encoded(word));
}

QStringList HunspellEngine::suggestions(const QString &word, int limit)
{
    QStringList result;
    if (word.isEmpty() || word.size() > kLongestWord)
        return result;
    for (const std::string &suggestion : m_hunspell->suggest(encoded(word))) {
        if (result.size() >= limit)
            break;
        result.append(decoded(suggestion));
    }
    return result;
}

void HunspellEngine::addWord(const QString &word)
{
    if (!word.isEmpty() && word.size() <= kLongestWord)
        m_hunspell->add(encoded(word));
}

BackgroundHunspellEngine::BackgroundHunspellEngine(const DictionaryFiles &files) : m_files(files)
{}

BackgroundHunspellEngine::~BackgroundHunspellEngine() = default; // waits for a read under way

void BackgroundHunspellEngine::prepare()
{
    if (!m_loading.valid() && !m_loaded)
        m_loading = std::async(std::launch::async, [files = m_files] { return HunspellEngine::open(files); });
}

bool BackgroundHunspellEngine::isReady()
{
    return m_loaded ||
           (m_loading.valid() && m_loading.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
}

HunspellEngine *BackgroundHunspellEngine::engine()
{
    if (!m_loaded) {
        prepare();
        m_engine = m_loading.get();
        m_loaded = true;
        if (!m_engine)
            qCWarning(lcSpell) << "the French dictionary could not be read; no word is underlined";
        for (const QString &word : std::as_const(m_added))
            if (m_engine)
                m_engine->addWord(word);
        m_added.clear();
    }
    return m_engine.get();
}

bool BackgroundHunspellEngine::isCorrect(const QString &word)
{
    HunspellEngine *hunspell = engine();
    return !hunspell || hunspell->isCorrect(word);
}

QStringList BackgroundHunspellEngine::suggestions(const QString &word, int limit)
{
    HunspellEngine *hunspell = engine();
    return hunspell ? hunspell->suggestions(word, limit) : QStringList();
}

void BackgroundHunspellEngine::addWord(const QString &word)
{
    if (!m_loaded) {
        m_added.append(word);
        return;
    }
    if (m_engine)
        m_engine->addWord(word);
}
