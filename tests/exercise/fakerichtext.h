#pragma once

#include "richtext/richtextcontrol.h"

#include <QFile>
#include <QPointer>
#include <QSaveFile>
#include <QWidget>

// A rich-text control that only keeps its content as bytes: enough for flows that move whole
// texts between exo, the buffers and files, and predictable to the byte in their checks.
class FakeRichText : public RichTextControl
{
public:
    QByteArray content;
    int focusCount = 0;
    int loadCount = 0;
    QString lastError;

    int selStart() const override { return 0; }
    void setSelStart(int) override {}
    int selLength() const override { return 0; }
    void setSelLength(int) override {}
    TextRange selection() const override { return {}; }
    void setSelection(TextRange) override {}
    int textLength() const override { return int(content.size()); }
    QByteArray selText() const override { return {}; }
    void setSelText(const QByteArray &text) override { content += text; }
    QByteArray text() const override { return content; }
    void setText(const QByteArray &text) override { content = text; }
    QByteArray selRtf() const override { return {}; }
    void setSelRtf(const QByteArray &) override {}
    QByteArray textRtf() const override { return content; }
    void setTextRtf(const QByteArray &rtf) override { content = rtf; }
    RichDocument textPiece(int, int) const override { return {}; }
    Mixed<QString> selFontName() const override { return {}; }
    void setSelFontName(const QString &) override {}
    Mixed<double> selFontSize() const override { return {}; }
    void setSelFontSize(double) override {}
    Mixed<bool> selBold() const override { return {}; }
    void setSelBold(bool) override {}
    Mixed<bool> selItalic() const override { return {}; }
    void setSelItalic(bool) override {}
    Mixed<bool> selUnderline() const override { return {}; }
    void setSelUnderline(bool) override {}
    Mixed<bool> selStrikethrough() const override { return {}; }
    void setSelStrikethrough(bool) override {}
    Mixed<QRgb> selColor() const override { return {}; }
    void setSelColor(QRgb) override {}
    Mixed<int> selCharOffset() const override { return {}; }
    void setSelCharOffset(int) override {}
    void setSelCharOffsetAndSize(int, double) override {}
    Mixed<bool> selProtected() const override { return {}; }
    void setSelProtected(bool) override {}
    Mixed<int> selAlignment() const override { return {}; }
    void setSelAlignment(int) override {}
    Mixed<bool> selBullet() const override { return {}; }
    void setSelBullet(bool) override {}
    Mixed<double> selIndent() const override { return {}; }
    void setSelIndent(double) override {}
    Mixed<double> selRightIndent() const override { return {}; }
    void setSelRightIndent(double) override {}
    Mixed<int> selTabCount() const override { return {}; }
    void setSelTabCount(int) override {}
    Mixed<double> selTabs(int) const override { return {}; }
    void setSelTabs(int, double) override {}
    double rightMargin() const override { return 0; }
    int find(const QByteArray &, int, int, int) override { return -1; }
    bool loadFile(const QString &path) override
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        content = file.readAll();
        ++loadCount;
        return true;
    }
    bool saveFile(const QString &path) override
    {
        QSaveFile file(path);
        const bool written =
            file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
        lastError = written ? QString() : file.errorString();
        return written;
    }
    QString fileError() const override { return lastError; }
    bool printSelection(QPagedPaintDevice &) override { return false; }
    int objectCount() const override { return 0; }
    ObjectInfo objectAt(int) const override { return {}; }
    void insertPicture(const QImage &) override {}
    bool addObjectFromFile(const QString &, const QString &) override { return false; }
    void setObjectLinked(int, bool) override {}
    QImage picture(int) const override { return {}; }
    void setObjectPicture(int, const QImage &) override {}
    bool canUndo() const override { return false; }
    void undo() override {}
    void clearUndo() override {}
    void beginEditBlock() override {}
    void endEditBlock() override {}
    void refresh() override {}
    void setFocus() override { ++focusCount; }
    bool hasFocus() const override { return false; }
    // A plain widget, so the fake can stand in a window's layout as exo.
    QWidget *widget() override
    {
        if (!m_widget)
            m_widget = new QWidget;
        return m_widget;
    }
    ~FakeRichText() override { delete m_widget.data(); }

private:
    QPointer<QWidget> m_widget;
};
