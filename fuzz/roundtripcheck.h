#pragma once

#include "rtf/richdocument.h"

#include <QString>

// What a document written and read again must keep, as the writer fuzzer checks it: the
// paragraphs, the text and style of each stretch (the writer is free to split or join runs of
// one style), and each picture as it shows, pixels and display size. A picture's bytes may
// change: one read from a bitmap without bytes of its own is written as PNG.
namespace RoundTripCheck {

// Where `after` differs from `before`, in words for the fuzzer's report; empty when it does not.
QString difference(const RichDocument &before, const RichDocument &after);

} // namespace RoundTripCheck
