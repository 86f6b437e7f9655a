#pragma once

#include <QObject>

class Clipboard;
class RichTextControl;
struct KeyStroke;

// The edit menu's clipboard and selection commands on exo: "&Couper", "Co&pier", "C&oller",
// "&Supprimer" and "&Tout sélectionner". Text goes to the clipboard as RTF (under the names
// other programs read) with its plain form; a paste takes RTF first, else plain text in the
// caret's format, and leaves the selection alone when the clipboard holds neither.
//
// Ctrl+C, Ctrl+X and Ctrl+V typed in exo run these same commands. Shift+Insert is left to the
// control, which pastes whatever the clipboard holds (a picture as one object): program-made
// insertions rely on that.
class ClipboardCommands : public QObject
{
    Q_OBJECT
public:
    ClipboardCommands(RichTextControl &exo, Clipboard &clipboard, QObject *parent = nullptr);

    void coupe();
    void copie();
    void colle();
    void supprime();
    void toutsel();

    // RTF of a plain text, for text with characters that Windows-1252 cannot hold (a Greek
    // letter copied from a web page): it takes the format before the selection.
    static QByteArray plainTextAsRtf(const QString &text);

private:
    void routeKey(KeyStroke &key);
    // The user may not cut, paste into or delete protected text.
    bool selectionEditable() const;

    RichTextControl &m_exo;
    Clipboard &m_clipboard;
};
