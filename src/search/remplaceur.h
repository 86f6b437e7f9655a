#pragma once

#include "searchrequest.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;

// The replace dialog "Remplacer". Its two commands run while it is open and tell whether it
// closes; however it closes, `onClosed` runs (the selection collapses).
class remplaceur : public QDialog
{
    Q_OBJECT
public:
    explicit remplaceur(const SearchRequest &request, QWidget *parent = nullptr);

    SearchRequest request() const;
    void done(int result) override;

    std::function<bool(const SearchRequest &)> onReplaceOneByOne; // "&Remplacer"
    std::function<bool(const SearchRequest &)> onReplaceAll;      // "Remplacer &tout"
    std::function<void()> onCancel;                               // "&Annuler"
    std::function<void()> onClosed;

private:
    void run(const std::function<bool(const SearchRequest &)> &command);

    QLineEdit *m_search;
    QLineEdit *m_replacement;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWord;
    bool m_closed = false;
};
