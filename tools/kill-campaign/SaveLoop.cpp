// The window's save (PhotoInfo::SaveToFile) over and over, for the kill -9
// campaign (tools/kill-campaign/run): two sets of records, A and B, saved in
// turns to PATH until the process is killed.
//
//   tessamar_save_loop PATH NOTES           saves B, A, B, ... for ever
//   tessamar_save_loop PATH NOTES --refs    writes PATH.a and PATH.b (the
//                                           bytes each save writes) and PATH
//                                           as A, then exits

#include "document/PhotoInfo.h"
#include "platform/LogFont.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstring>

namespace {
PhotoInfo Records(int notes, char letter) {
    PhotoInfo info;
    for (int i = 0; i < notes; ++i) {
        InfoNote note = MakeNewNote(POINT{10 + i % 500, 10 + i / 500}, DefaultLogFont());
        std::snprintf(note.text, sizeof note.text, "%c%d", letter, i);
        info.notes.push_back(note);
    }
    return info;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString path = QFile::decodeName(argv[1]);
    const int notes = std::atoi(argv[2]);
    const PhotoInfo a = Records(notes, 'A');
    const PhotoInfo b = Records(notes, 'B');
    if (argc > 3 && std::strcmp(argv[3], "--refs") == 0)
        return WriteBytes(path + ".a", a.Serialize()) && WriteBytes(path + ".b", b.Serialize()) &&
                       a.SaveToFile(path)
                   ? 0
                   : 1;
    for (bool turn = false;; turn = !turn)
        if (!(turn ? a : b).SaveToFile(path))
            return 1;
}
