#pragma once

#include <QString>

#include <array>

// The fields of the exercise page as the exercise file stores them.
struct ExerciseData
{
    // The value of the scroll bar `HScroll1` only travels with the exercise; its meaning belongs
    // to the simulators. Its range is the widest non-negative 16-bit range, so that every
    // non-negative value a record can hold reads back instead of being refused.
    static constexpr int scrollMinimum = 0;
    static constexpr int scrollMaximum = 32767;
    static constexpr int difficultyCount = 4; // "Non défini" .. "*** difficile"
    static constexpr int maxTitleLength = 120;
    static constexpr int maxDescriptionLength = 480;

    std::array<QString, 4> files; // captions of ficex 0..3: file names without folder
    int difficulty = 0;           // list index of ComboZ1
    int scroll = 0;               // value of HScroll1
    QString description;          // a line break is "\r\n", as stored
    QString title;

    friend bool operator==(const ExerciseData &, const ExerciseData &) = default;
};
