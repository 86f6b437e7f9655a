#include "helpfile.h"

#include "platformlog.h"

#include <QCollator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr qsizetype maxHeadingLength = 1000;
constexpr qsizetype maxTagLength = 4000;

struct Heading
{
    qsizetype start = 0; // of "<h"
    qsizetype end = 0;   // after "</hN>"
    int level = 1;
    QString attributes;
    QString titleHtml;
};

QString decodeEntities(const QString &text)
{
    static const QHash<QString, QString> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")}, {QStringLiteral("nbsp"), QString(QChar(0xA0))},
    };
    static const QRegularExpression entity(
        QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[a-zA-Z]{2,8});"));
    QString out;
    qsizetype last = 0;
    for (QRegularExpressionMatchIterator it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1);
        QString replacement = match.captured(0);
        if (name.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const bool hex = name.size() > 1 && (name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X'));
            const uint code = hex ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
                const char32_t c = code;
                replacement = QString::fromUcs4(&c, 1);
            }
        } else if (const auto known = named.constFind(name); known != named.constEnd()) {
            replacement = *known;
        }
        out += QStringView(text).mid(last, match.capturedStart() - last);
        out += replacement;
        last = match.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

QString stripTags(const QString &html)
{
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    QString text = html;
    text.replace(tag, QStringLiteral(" "));
    return decodeEntities(text).replace(spaces, QStringLiteral(" ")).trimmed();
}

QString attribute(const QString &attributes, const QString &name)
{
    static const QRegularExpression pair(
        QStringLiteral(R"re(([a-zA-Z_:][-a-zA-Z0-9_:.]*)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+)))re"));
    for (QRegularExpressionMatchIterator it = pair.globalMatch(attributes); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(1).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        for (int group = 2; group <= 4; ++group) {
            if (match.capturedStart(group) >= 0)
                return decodeEntities(match.captured(group));
        }
    }
    return QString();
}

bool isValidId(const QString &id)
{
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9_-]+$"));
    return valid.match(id).hasMatch();
}

// The text with every comment blanked out, positions kept: a heading inside a comment is no
// heading. An unclosed comment runs to the end, as in a browser.
QString withoutComments(const QString &html)
{
    QString text = html;
    qsizetype pos = 0;
    while ((pos = text.indexOf(QLatin1String("<!--"), pos)) >= 0) {
        qsizetype end = text.indexOf(QLatin1String("-->"), pos + 4);
        end = end < 0 ? text.size() : end + 3;
        for (qsizetype i = pos; i < end; ++i)
            text[i] = QLatin1Char(' ');
        pos = end;
    }
    return text;
}

// Finds <h1>/<h2> elements, in one pass: a heading that does not close soon is skipped, so a
// damaged file costs at most maxHeadingLength characters per stray "<h".
QList<Heading> findHeadings(const QString &source)
{
    const QString html = withoutComments(source);
    QList<Heading> headings;
    qsizetype pos = 0;
    while ((pos = html.indexOf(QLatin1String("<h"), pos, Qt::CaseInsensitive)) >= 0) {
        const qsizetype start = pos;
        pos += 2;
        if (pos + 1 >= html.size())
            break;
        const QChar digit = html.at(pos);
        const QChar after = html.at(pos + 1);
        if ((digit != QLatin1Char('1') && digit != QLatin1Char('2')) ||
            !(after == QLatin1Char('>') || after.isSpace()))
            continue;
        // Search bounded windows only, so that the scan stays linear.
        const QStringView view(html);
        const qsizetype tagLength = view.mid(pos + 1, maxTagLength).indexOf(QLatin1Char('>'));
        if (tagLength < 0)
            continue;
        const qsizetype tagEnd = pos + 1 + tagLength;
        const QString closing = QStringLiteral("</h") + digit + QLatin1Char('>');
        const qsizetype titleLength =
            view.mid(tagEnd + 1, maxHeadingLength + closing.size()).indexOf(closing, 0, Qt::CaseInsensitive);
        if (titleLength < 0)
            continue;
        const qsizetype close = tagEnd + 1 + titleLength;
        Heading heading;
        heading.start = start;
        heading.end = close + closing.size();
        heading.level = digit == QLatin1Char('1') ? 1 : 2;
        heading.attributes = html.mid(pos + 1, tagEnd - pos - 1);
        heading.titleHtml = html.mid(tagEnd + 1, close - tagEnd - 1);
        headings.append(heading);
        pos = heading.end;
    }
    return headings;
}

} // namespace

bool HelpFile::load(const QString &path)
{
    m_html.clear();
    m_topics.clear();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() > maxFileSize) {
        qCWarning(lcPlatform) << "help file too big:" << path;
        return false;
    }
    const QByteArray bytes = file.read(maxFileSize + 1);
    if (bytes.size() > maxFileSize)
        return false;
    return parse(QString::fromUtf8(bytes));
}

bool HelpFile::parse(const QString &html)
{
    m_html.clear();
    m_topics.clear();
    const QList<Heading> headings = findHeadings(html);
    if (headings.isEmpty())
        return false;

    QSet<QString> usedIds;
    QString shown;
    qsizetype copied = 0;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        const Heading &heading = headings[i];
        HelpTopic topic;
        topic.level = heading.level;
        topic.title = stripTags(heading.titleHtml);
        topic.id = attribute(heading.attributes, QStringLiteral("id"));
        if (!isValidId(topic.id) || usedIds.contains(topic.id))
            topic.id = QStringLiteral("topic-%1").arg(i + 1);
        usedIds.insert(topic.id);
        const QStringList terms =
            attribute(heading.attributes, QStringLiteral("data-index")).split(QLatin1Char(';'));
        for (const QString &term : terms) {
            const QString trimmed = term.simplified();
            if (!trimmed.isEmpty() && !topic.indexTerms.contains(trimmed))
                topic.indexTerms.append(trimmed);
        }
        const qsizetype bodyEnd = i + 1 < headings.size() ? headings[i + 1].start : html.size();
        topic.plainText =
            topic.title + QLatin1Char('\n') + stripTags(html.mid(heading.end, bodyEnd - heading.end));
        m_topics.append(topic);

        // Our own anchor before each heading: the viewer finds every topic, whether or not
        // the heading had a usable id.
        shown += QStringView(html).mid(copied, heading.start - copied);
        shown += QStringLiteral("<a name=\"%1\"></a>").arg(topic.id);
        copied = heading.start;
    }
    shown += QStringView(html).mid(copied);
    m_html = shown;
    return true;
}

const HelpTopic *HelpFile::topic(const QString &id) const
{
    for (const HelpTopic &topic : m_topics) {
        if (topic.id == id)
            return &topic;
    }
    return nullptr;
}

QList<HelpIndexEntry> HelpFile::index() const
{
    QList<HelpIndexEntry> entries;
    QHash<QString, qsizetype> byTerm;
    for (const HelpTopic &topic : m_topics) {
        for (const QString &term : topic.indexTerms) {
            const QString key = term.toCaseFolded();
            auto found = byTerm.constFind(key);
            if (found == byTerm.constEnd()) {
                found = byTerm.insert(key, entries.size());
                entries.append({term, {}});
            }
            QStringList &ids = entries[*found].topicIds;
            if (!ids.contains(topic.id))
                ids.append(topic.id);
        }
    }
    QCollator collator(QLocale(QLocale::French, QLocale::France));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(entries.begin(), entries.end(),
                     [&collator](const HelpIndexEntry &a, const HelpIndexEntry &b) {
                         return collator.compare(a.term, b.term) < 0;
                     });
    return entries;
}

QStringList HelpFile::search(const QString &query) const
{
    static const QRegularExpression separators(QStringLiteral("[^\\w]+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    const QStringList words = foldForSearch(query).split(separators, Qt::SkipEmptyParts);
    QStringList found;
    if (words.isEmpty())
        return found;
    for (const HelpTopic &topic : m_topics) {
        const QString text = foldForSearch(topic.plainText);
        const bool all = std::all_of(words.begin(), words.end(),
                                     [&text](const QString &word) { return text.contains(word); });
        if (all)
            found.append(topic.id);
    }
    return found;
}

QString HelpFile::foldForSearch(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if (c == QChar(0x153) || c == QChar(0x152))
            folded += QStringLiteral("oe");
        else if (c == QChar(0xE6) || c == QChar(0xC6))
            folded += QStringLiteral("ae");
        else
            folded += c.toCaseFolded();
    }
    return folded;
}
