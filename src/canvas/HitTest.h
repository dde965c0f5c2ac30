#pragma once
// The select tool's hit tests, in photo coordinates.
//
// HitTestNote: the note's box as drawn at photo scale: anchor .. anchor +
// (widest + 10, lineHeight × lines + 10), the lines broken exactly as the note
// is drawn (WrapNoteText in the stored font), left/top inclusive.
//
// HitTestDimension: a click strictly closer than trunc(4.0 / zoom) photo
// pixels to the segment (its perpendicular foot inside the segment's extent),
// or inside the value label's box above the midpoint, turned with the line.
//
// Both measure text with the record's stored font through a TextMeasurer,
// which caches per font and text, so a click costs a few lookups per record.
// The overloads without a measurer use TextMeasurer::Shared().

#include "canvas/TextMeasurer.h"
#include "document/Records.h"
#include "platform/WinTypes.h"

// The note's box in photo coordinates (right and bottom exclusive), 64-bit
// so that no anchor overflows.
struct NoteBox {
    int64_t left = 0, top = 0, right = 0, bottom = 0;
};
NoteBox NoteHitBox(const InfoNote& note, TextMeasurer& measurer);

bool HitTestNote(const InfoNote& note, POINT p, TextMeasurer& measurer);
bool HitTestDimension(const Dimension& dim, POINT p, float zoom, TextMeasurer& measurer);

bool HitTestNote(const InfoNote& note, POINT p);
bool HitTestDimension(const Dimension& dim, POINT p, float zoom);

// trunc(4.0 / zoom) with the zoom's 32-bit value: 4 at 1.0, 8 at 0.5, 19 at 0.2.
int64_t LineTolerance(float zoom);
