#include "clipboardcommands.h"

#include "platform/clipboard.h"
#include "richtext/richtextcontrol.h"
#include "rtf/cp1252.h"

ClipboardCommands::ClipboardCommands(RichTextControl &exo, Clipboard &clipboard, QObject *parent)
    : QObject(parent), m_exo(exo), m_clipboard(clipboard)
{
    connect(&m_exo, &RichTextControl::keyDown, this, &ClipboardCommands::routeKey);
}

void ClipboardCommands::routeKey(KeyStroke &key)
{
    // Only the plain Ctrl chords: Shift+Insert, which the platform's paste sequence also
    // lists, must reach the control.
    if (key.modifiers != Qt::ControlModifier)
        return;
    switch (key.key) {
    case Qt::Key_C:
        copie();
        break;
    case Qt::Key_X:
        coupe();
        break;
    case Qt::Key_V:
        colle();
        break;
    default:
        return;
    }
    key.consumed = true;
}

bool ClipboardCommands::selectionEditable() const
{
    return m_exo.selProtected() == false;
}

void ClipboardCommands::copie()
{
    m_clipboard.clear();
    if (m_exo.selLength() <= 0)
        return;
    QString plain = Cp1252::decode(m_exo.selText());
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    plain.replace(QLatin1Char('\v'), QLatin1Char('\n'));
    m_clipboard.setRtf(m_exo.selRtf(), plain);
}

void ClipboardCommands::coupe()
{
    copie();
    // Protected text is copied but stays where it is.
    if (m_exo.selLength() > 0 && selectionEditable())
        m_exo.setSelText(QByteArray());
}

void ClipboardCommands::colle()
{
    if (!selectionEditable())
        return;
    const QByteArray rtf = m_clipboard.rtf();
    if (!rtf.isEmpty()) {
        m_exo.setSelRtf(rtf);
        return;
    }
    // Text from a viewer, a terminal or a web page comes without RTF; with nothing usable the
    // selection must survive the paste.
    const QString text = m_clipboard.text();
    if (text.isEmpty())
        return;
    if (Cp1252::canEncode(text))
        m_exo.setSelText(Cp1252::encode(text));
    else
        m_exo.setSelRtf(plainTextAsRtf(text)); // only RTF carries what the 8-bit view cannot
}

void ClipboardCommands::supprime()
{
    if (m_exo.selLength() > 0 && selectionEditable())
        m_exo.setSelText(QByteArray());
}

void ClipboardCommands::toutsel()
{
    m_exo.setSelStart(0);
    m_exo.setSelLength(m_exo.textLength());
}

QByteArray ClipboardCommands::plainTextAsRtf(const QString &text)
{
    QByteArray rtf = "{\\rtf1\\ansi\\uc1 ";
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QChar c : std::as_const(normalized)) {
        const ushort u = c.unicode();
        if (u == '\n')
            rtf += "\\par ";
        else if (u == '\t')
            rtf += "\\tab ";
        else if (u == '\\' || u == '{' || u == '}')
            rtf += '\\' + QByteArray(1, char(u));
        else if (u >= 0x20 && u < 0x80)
            rtf += char(u);
        else if (u >= 0x20 || u == 0)
            rtf += "\\u" + QByteArray::number(qint16(u)) + '?';
    }
    rtf += '}';
    return rtf;
}
