#pragma once

#include <QTextDocument>

// A text document whose pictures resolve through the process-wide ImageStore, so that text
// copied between documents keeps showing its pictures.
class RichTextDocument : public QTextDocument
{
    Q_OBJECT
public:
    explicit RichTextDocument(QObject *parent = nullptr);

protected:
    QVariant loadResource(int type, const QUrl &name) override;
};
