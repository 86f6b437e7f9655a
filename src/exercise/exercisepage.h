#pragma once

#include "exercisedata.h"

#include <QFrame>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

// The exercise page ("Paramètres"), frame `Frame1` index 1: the path of the current exercise
// file `Text1`, the four file slots `ficex`, the title `titrexo`, the scroll bar `HScroll1`, the
// difficulty `ComboZ1` and the description `TextZ1`. It holds the fields and forwards its buttons;
// the flows that use them are ExerciseController's.
//
// Control arrays are named with their index after an underscore: `ficex_0`..`ficex_3`,
// `CommandZ10_0`.., `CommandZ14_0`.., and the frame `Frame1_1`; each also carries its index in
// the dynamic property "index".
class ExercisePage : public QFrame
{
    Q_OBJECT
public:
    static constexpr int slotCount = 4;

    explicit ExercisePage(QWidget *parent = nullptr);

    // `Text1`: every change of its text emits exercisePathChanged (setting the same text again
    // does not). It is read-only: only the flows set it.
    QString exercisePath() const;
    void setExercisePath(const QString &path);
    // Sets the path without running activation, for a caller that activates by itself.
    void setExercisePathQuietly(const QString &path);

    QString slotName(int slot) const;
    void setSlotName(int slot, const QString &name);

    ExerciseData data() const;
    void setData(const ExerciseData &data);
    // Slots, difficulty, description and title emptied; the scroll value stays.
    void clearFields();
    // `ComboZ1` cleared and filled in list order, entry 0 selected.
    void fillDifficultyList();

Q_SIGNALS:
    void exercisePathChanged();
    void chooseSlotRequested(int slot); // CommandZ10(i) "Ouvrir"
    void clearSlotRequested(int slot);  // CommandZ14(i) "Effacer"
    void saveRequested();               // Command20 "Enregistrer"
    void cancelRequested();             // Command19 "Annuler"

private:
    void limitDescription();

    QLineEdit *m_path = nullptr;
    std::array<QLabel *, slotCount> m_slots{};
    QLineEdit *m_title = nullptr;
    QScrollBar *m_scroll = nullptr;
    QComboBox *m_difficulty = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QString m_lastDescription;
    bool m_quiet = false;
};
