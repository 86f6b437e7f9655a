#pragma once

#include "clipboard.h"

// The system clipboard through QClipboard. RTF goes out under every name other programs look
// for, with its plain-text form; it is read back only from bytes that really are RTF.
class QtClipboard : public Clipboard
{
public:
    void clear() override;
    void setRtf(const QByteArray &rtf, const QString &plainText) override;
    void setImage(const QImage &image) override;
    bool hasRtf() const override;
    QByteArray rtf() const override;
    bool hasImage() const override;
    QImage image() const override;
    QString text() const override;

    // The formats RTF is written under and read from, in reading order.
    static QStringList rtfFormats();
};
