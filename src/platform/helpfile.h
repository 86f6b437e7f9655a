#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The help file "QZ7.hlp": an HTML document in UTF-8 that any browser can also open.
//
//   <!DOCTYPE html>
//   <html lang="fr"><head><meta charset="utf-8"><title>Aide de Veligram</title></head><body>
//   <h1 id="presentation" data-index="présentation; fenêtre principale">Veligram</h1>
//   <p>…</p>
//   <h2 id="fichier" data-index="ouvrir; enregistrer; nouveau texte">Le menu Fichier</h2>
//   <p>…</p>
//   </body></html>
//
// - Every <h1> and <h2> starts a topic that runs to the next <h1> or <h2>; the headings in order
//   make the contents, each <h2> under the <h1> before it. A heading's text is its title (tags
//   inside it are dropped, entities decoded) and must close on the same element within 1000
//   characters; a heading that does not is ignored, its text staying in the previous topic.
// - `id` names the topic's anchor (letters, digits, '-', '_'); a heading without one gets
//   "topic-N" (N its rank from 1), so every topic can be shown.
// - `data-index`: the topic's index terms, separated by ';'. The index lists every term with
//   the topics that carry it; terms are compared case-insensitively.
// - Search looks for words in topic titles and texts, ignoring case and accents.
// Text before the first heading belongs to no topic. Files over 8 MiB are refused.
struct HelpTopic
{
    QString id;
    QString title;
    int level = 1; // 1 for <h1>, 2 for <h2>
    QStringList indexTerms;
    QString plainText; // title and body, tags removed, for search
};

struct HelpIndexEntry
{
    QString term;
    QStringList topicIds; // in document order
};

class HelpFile
{
public:
    static constexpr qint64 maxFileSize = 8 * 1024 * 1024;

    // False, leaving this file empty, when it is missing, unreadable, too big or has no topic.
    [[nodiscard]] bool load(const QString &path);
    // The same from text already read; `baseUrl`-free, so relative links stay relative.
    [[nodiscard]] bool parse(const QString &html);

    const QString &html() const { return m_html; }
    const QList<HelpTopic> &topics() const { return m_topics; }
    const HelpTopic *topic(const QString &id) const;
    // Sorted by term, case-insensitively and the French way.
    QList<HelpIndexEntry> index() const;
    // Ids of the topics containing every word of `query`, in document order; none for a blank query.
    QStringList search(const QString &query) const;

    static QString foldForSearch(const QString &text);

private:
    QString m_html;
    QList<HelpTopic> m_topics;
};
