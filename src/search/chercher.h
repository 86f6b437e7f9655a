#pragma once

#include "searchrequest.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;

// The find dialog "Rechercher". It edits a SearchRequest and hands each button to the command
// that opened it: a search that finds something closes it, one that does not leaves it open.
class Chercher : public QDialog
{
    Q_OBJECT
public:
    explicit Chercher(const SearchRequest &request, QWidget *parent = nullptr);

    SearchRequest request() const;

    std::function<bool(const SearchRequest &)> onSearch; // "&Rechercher": true when found
    std::function<void()> onCancel;                      // "&Annuler"
    std::function<void()> onReplace;                     // "Remplacer": runs the replace dialog

private:
    QLineEdit *m_text;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWord;
};
