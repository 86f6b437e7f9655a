#pragma once

#include "platform/clipboard.h"

#include <QStringList>

// An in-memory clipboard. Like the system one, each put replaces the whole content. `log()`
// lists the calls that changed it: "clear", "setRtf", "setImage", "putPlainText".
class ScriptedClipboard : public Clipboard
{
public:
    void clear() override;
    void setRtf(const QByteArray &rtf, const QString &plainText) override;
    void setImage(const QImage &image) override;
    bool hasRtf() const override { return !m_rtf.isEmpty(); }
    QByteArray rtf() const override { return m_rtf; }
    bool hasImage() const override { return !m_image.isNull(); }
    QImage image() const override { return m_image; }
    QString text() const override { return m_text; }

    // What another program could leave there: plain text only, no RTF.
    void putPlainText(const QString &text);
    bool isEmpty() const { return m_rtf.isEmpty() && m_image.isNull() && m_text.isEmpty(); }
    const QStringList &log() const { return m_log; }

private:
    QByteArray m_rtf;
    QString m_text;
    QImage m_image;
    QStringList m_log;
};
