#pragma once

#include <QTextDocument>

// A text document whose pictures resolve through the process-wide ImageStore, so that text
// copied between documents keeps showing its pictures.
class RichTextDocument : public QTextDocument
{
    Q_OBJECT
public:
    explicit RichTextDocument(QObject *parent = nullptr);

    // Gives the document its layout, with the handlers that draw and size our text objects.
    // A document without a view has no layout: text goes in without being laid out, which
    // keeps loading a long file proportional to its size and not to its typesetting.
    // On screen the layout is an EditorLayout (one column; an edit costs what it touches); on
    // paper, Qt's own, which breaks pages.
    enum class Medium { Paper, Screen };
    void prepareLayout(Medium medium = Medium::Paper);

protected:
    QVariant loadResource(int type, const QUrl &name) override;

private:
    bool m_layoutPrepared = false;
    bool m_onScreen = false;
};
