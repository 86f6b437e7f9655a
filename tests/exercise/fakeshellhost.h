#pragma once

#include "fakerichtext.h"
#include "platform/editorstate.h"
#include "platform/messageboxes.h"
#include "platform/shellhost.h"

#include <QAction>
#include <QHash>
#include <QWidget>

#include <map>
#include <memory>

// The main window as the exercise workflow sees it. Its text commands behave as the shell's
// do: the unsaved-changes prompt, a save dispatcher that writes both exercise texts when both
// exist (else the shown text, to its path), and New. Saves can be made to fail.
class FakeShellHost : public ShellHost
{
public:
    FakeShellHost(EditorState &state, MessageBoxes &messages) : m_state(state), m_messages(messages)
    {
        for (const char *name : {"az51", "az52", "az53", "az54", "az55", "sepatext", "textexo", "textcor"}) {
            auto *action = new QAction(&m_owner);
            action->setObjectName(QLatin1String(name));
            action->setEnabled(false);
            m_commands.insert(QLatin1String(name), action);
        }
        m_commands.value("sepatext")->setVisible(false);
        m_commands.value("textexo")->setVisible(false);
        m_commands.value("textcor")->setVisible(false);
    }

    FakeRichText exoText;
    FakeRichText statementBuffer;
    FakeRichText correctionBuffer;
    FakeRichText formatBuffer;
    FakeRichText insertBuffer;
    bool saveFails = false;
    int dispatcherRuns = 0;
    int newTextRuns = 0;
    int titleUpdates = 0;
    std::map<StartupStep, std::function<void()>> startupSteps;
    std::map<WindowArea, QWidget *> placed;

    RichTextControl &exo() override { return exoText; }
    RichTextControl &sujetampon() override { return statementBuffer; }
    RichTextControl &corectampon() override { return correctionBuffer; }
    RichTextControl &tamponrtf() override { return formatBuffer; }
    RichTextControl &Rtfinsert() override { return insertBuffer; }
    QAction *command(const QString &name) override { return m_commands.value(name); }
    void bindCommand(const QString &name, std::function<void()> handler) override
    {
        QAction *action = m_commands.value(name);
        if (action->isCheckable())
            QObject::connect(action, &QAction::toggled, &m_owner, [handler] { handler(); });
        else
            QObject::connect(action, &QAction::triggered, &m_owner, [handler] { handler(); });
        if (name != QLatin1String("az51") && name != QLatin1String("az52"))
            action->setEnabled(true);
    }
    void addStartupStep(StartupStep step, std::function<void()> action) override
    {
        startupSteps[step] = std::move(action);
    }
    void runStartup()
    {
        for (auto &[step, action] : startupSteps)
            action();
    }
    void placeWidget(WindowArea area, QWidget *widget) override
    {
        widget->setParent(&m_window);
        placed[area] = widget;
    }

    bool saveDispatcher() override
    {
        ++dispatcherRuns;
        if (saveFails)
            return false;
        if (statementItemVisible() && correctionItemVisible()) {
            if (m_state.currentDocumentPath == m_correctionPath)
                correctionBuffer.setTextRtf(exoText.textRtf());
            if (m_state.currentDocumentPath == m_statementPath)
                statementBuffer.setTextRtf(exoText.textRtf());
            if (!statementBuffer.saveFile(m_statementPath) || !correctionBuffer.saveFile(m_correctionPath))
                return false;
        } else if (m_state.currentDocumentPath == EditorState::untitled ||
                   !exoText.saveFile(m_state.currentDocumentPath)) {
            return false;
        }
        m_state.documentSaved = 1;
        return true;
    }
    bool confirmSaveChanges() override
    {
        if (m_state.documentSaved != 0)
            return true;
        if (m_messages.show(QStringLiteral("Enregistrer modifications ?"), QStringLiteral("Avertissement"),
                            MessageIcon::Question, MessageButtons::YesNo) != MessageAnswer::Yes)
            return true;
        return saveDispatcher();
    }
    bool newText() override
    {
        ++newTextRuns;
        if (!confirmSaveChanges())
            return false;
        exoText.setTextRtf(QByteArray());
        m_state.currentDocumentPath = EditorState::untitled;
        m_state.documentSaved = 1;
        updateTitle();
        return true;
    }
    void updateTitle() override { ++titleUpdates; }
    void setStatementItem(const QString &path, bool visible) override
    {
        m_statementPath = path;
        m_commands.value("textexo")->setText(path);
        m_commands.value("textexo")->setVisible(visible);
        m_commands.value("sepatext")->setVisible(visible);
    }
    void setCorrectionItem(const QString &path, bool visible) override
    {
        m_correctionPath = path;
        m_commands.value("textcor")->setText(path);
        m_commands.value("textcor")->setVisible(visible);
    }
    QString statementItemPath() const override { return m_statementPath; }
    QString correctionItemPath() const override { return m_correctionPath; }
    bool statementItemVisible() const override { return m_commands.value("textexo")->isVisible(); }
    bool correctionItemVisible() const override { return m_commands.value("textcor")->isVisible(); }
    void setExercisePathSource(std::function<QString()> source) override { exercisePath = std::move(source); }

    std::function<QString()> exercisePath;
    QWidget &window() { return m_window; }

private:
    EditorState &m_state;
    MessageBoxes &m_messages;
    QObject m_owner;
    QWidget m_window;
    QString m_statementPath;
    QString m_correctionPath;
    QHash<QString, QAction *> m_commands;
};
