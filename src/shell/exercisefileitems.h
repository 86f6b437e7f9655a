#pragma once

#include <QPointer>
#include <QString>

class QAction;

// The File menu's exercise entries: `textexo` and `textcor` name the statement and correction
// files of the open exercise; `sepatext` separates them from the rest of the menu and shows
// whenever `textexo` does. The paths are kept here as given; the menu shows them with any '&'
// doubled so that a folder name cannot turn into a mnemonic.
class ExerciseFileItems
{
public:
    void attach(QAction *sepatext, QAction *textexo, QAction *textcor);

    void setStatement(const QString &path, bool visible);
    void setCorrection(const QString &path, bool visible);
    QString statementPath() const { return m_statementPath; }
    QString correctionPath() const { return m_correctionPath; }
    bool statementVisible() const { return m_statementVisible; }
    bool correctionVisible() const { return m_correctionVisible; }
    bool bothVisible() const { return m_statementVisible && m_correctionVisible; }

private:
    void show();

    QString m_statementPath;
    QString m_correctionPath;
    bool m_statementVisible = false;
    bool m_correctionVisible = false;
    QPointer<QAction> m_sepatext;
    QPointer<QAction> m_textexo;
    QPointer<QAction> m_textcor;
};
