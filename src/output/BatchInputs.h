#pragma once
// The inputs of one batch run (`--export-many`): every photo and the
// photo-info file beside it, each known by the file it is (device and inode),
// however its path is spelt, so that an output is checked against all of them
// before the first write, and a photo given twice is recognised.

#include <QHash>
#include <QPair>
#include <QString>
#include <QStringList>
#include <vector>

class BatchInputs {
public:
    explicit BatchInputs(const QStringList& photos);

    // The index of an earlier photo of the list that is the same file as
    // photo `index`; -1 when there is none.
    int EarlierSamePhoto(int index) const;

    // Why photo `index` must not be written to `out`, as one sentence naming
    // the input it would destroy; empty when `out` is none of the inputs.
    QString ReplacedBy(const QString& out, int index) const;

private:
    using FileKey = QPair<quint64, quint64>;
    QStringList m_photos;
    QHash<FileKey, int> m_photoAt;   // first photo of each file
    QHash<FileKey, int> m_infoAt;    // info files that exist, by photo
    QHash<QString, int> m_missingAt; // info files not there yet: folder key + name
};
