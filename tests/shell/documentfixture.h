#pragma once

#include "platform/editorstate.h"
#include "richtext/richtextfactory.h"
#include "scriptedplatform.h"
#include "shell/documentcontroller.h"
#include "shell/exercisefileitems.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A document controller over real rich-text controls and the scripted platform, with a scratch
// folder for the files the flows read and write.
struct DocumentFixture
{
    EditorState state;
    ScriptedPlatform fake;
    Platform platform = fake.platform();
    std::unique_ptr<RichTextControl> exo = createRichTextControl();
    std::unique_ptr<RichTextControl> sujetampon = createRichTextControl();
    std::unique_ptr<RichTextControl> corectampon = createRichTextControl();
    ExerciseFileItems items;
    QStringList titles; // every title set, in order
    DocumentController documents{
        state, platform, *exo, *sujetampon, *corectampon, items, [this] { titles << state.windowTitle(); }};
    QTemporaryDir folder;

    QString path(const QString &name) const { return QDir::toNativeSeparators(folder.filePath(name)); }
    QString missingFolderPath(const QString &name) const
    {
        return QDir::toNativeSeparators(folder.filePath(QStringLiteral("gone/") + name));
    }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Types into exo the way a user's edit leaves the document: changed and not saved.
    void modify(const QByteArray &text = "changed")
    {
        exo->setText(text);
        state.documentSaved = 0;
    }

    void openExercise(const QString &statement, const QString &correction)
    {
        items.setStatement(path(statement), true);
        items.setCorrection(correction.isEmpty() ? QString() : path(correction), !correction.isEmpty());
    }
};

// Checks one message box request against the text, title, icon and buttons it must show.
inline bool sameMessage(const MessageRequest &asked, const QString &text, const QString &title,
                        MessageIcon icon, MessageButtons buttons)
{
    const bool same =
        asked.text == text && asked.title == title && asked.icon == icon && asked.buttons == buttons;
    if (!same)
        qWarning().noquote() << "asked" << asked.text << "/" << asked.title << iconName(asked.icon)
                             << buttonsName(asked.buttons);
    return same;
}
