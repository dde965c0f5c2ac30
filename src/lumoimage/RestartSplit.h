#pragma once
// Where a photo with restart markers can be cut in two for decoding both
// halves at once. Restart markers (cameras and phones write one every few
// rows of blocks) let a decoder start in the middle of the coded data: the
// second half is decoded from the photo's header, its frame height made that
// of the rows below the cut, followed by the coded data after the marker.
//
// Only single-scan baseline (Huffman) photos whose one scan holds every
// component are cut, and only at a marker where a row of blocks begins. The
// markers up to the cut are read and their numbers checked, so a missing or
// damaged one leaves the photo uncut.

#include <QByteArray>

class ReadOnlyFile;

struct RestartSplit {
    QByteArray header;     // the photo's header up to its scan's, heighted for the lower part
    qint64 dataOffset = 0; // where in the file the lower part's coded data starts
    int renumberFrom = 0;  // the number of the first restart marker after it
    int firstRow = 0;      // the photo's first row in the lower part
    int rowsPerMcuRow = 0; // the photo's rows in one row of blocks
};

// Finds a cut near the middle of the photo in `file`, whose first bytes are
// `head` (they must reach past the scan's header). False when there is none.
bool FindRestartSplit(ReadOnlyFile* file, const QByteArray& head, RestartSplit* split);
