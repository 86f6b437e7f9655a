#pragma once

#include "textreplacer.h"

#include <QDialog>

// The prompt "Remplacer" shown over each match of a one-by-one replace; the match is exo's
// selection. Closing it any other way than by a button counts as "&Sauter".
class Choixremp : public QDialog
{
    Q_OBJECT
public:
    explicit Choixremp(QWidget *parent = nullptr);

    PromptAnswer ask(); // shows the prompt modally
    PromptAnswer answer() const { return m_answer; }

private:
    void answerWith(PromptAnswer answer);
    PromptAnswer m_answer = PromptAnswer::Skip;
};
