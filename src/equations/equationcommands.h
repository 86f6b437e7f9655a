#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <optional>

class RichTextControl;
struct KeyStroke;

// What the "Équation" dialog starts from, and the size its preview draws at (twice this).
struct EquationRequest
{
    QString linear;
    double pointSize = 10;
};

// "Équation…" (Ctrl+Shift+E) and the editing of an equation already in the text. An equation
// is one character of exo: inserting, converting and replacing one is one undo step.
class EquationCommands
{
    Q_DECLARE_TR_FUNCTIONS(EquationCommands)
public:
    // Shows the dialog; nullopt when it was cancelled.
    using Ask = std::function<std::optional<QString>(const EquationRequest &)>;

    EquationCommands(RichTextControl &exo, Ask ask);

    // The command: the selected equation opens for editing; a selected text becomes the
    // equation it spells (as the chemical-formula command formats a selected formula); at a
    // caret the dialog asks for a new one.
    void equation();
    // The selected equation in the dialog; OK replaces it. Nothing when no equation is selected.
    void edit();
    // Enter while an equation alone is selected edits it; the key is then consumed.
    void onKeyDown(KeyStroke &key);

    // A selected text as one line of linear text: paragraph marks and line breaks are spaces.
    static QString linearOf(const QByteArray &selected);

private:
    RichTextControl &m_exo;
    Ask m_ask;
};
