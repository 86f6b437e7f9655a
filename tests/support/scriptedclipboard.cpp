#include "scriptedclipboard.h"

void ScriptedClipboard::clear()
{
    m_rtf.clear();
    m_text.clear();
    m_image = QImage();
    m_log.append(QStringLiteral("clear"));
}

void ScriptedClipboard::setRtf(const QByteArray &rtf, const QString &plainText)
{
    m_rtf = rtf;
    m_text = plainText;
    m_image = QImage();
    m_log.append(QStringLiteral("setRtf"));
}

void ScriptedClipboard::setImage(const QImage &image)
{
    m_rtf.clear();
    m_text.clear();
    m_image = image;
    m_log.append(QStringLiteral("setImage"));
}

void ScriptedClipboard::putPlainText(const QString &text)
{
    m_rtf.clear();
    m_image = QImage();
    m_text = text;
    m_log.append(QStringLiteral("putPlainText"));
}
