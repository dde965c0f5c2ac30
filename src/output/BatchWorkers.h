#pragma once
// The workers that go through many photos at once (`--export-many`,
// `--report`): one photo per worker at a time, one worker more than cores so
// that while a worker waits (its picture being synced to the disk) the cores
// still have work, and no more workers than the memory available can hold at
// two 50-megapixel photos each. The memory of each finished photo is kept
// for the next (PictureMemoryReuse).

#include <functional>

// The number of workers for `items` photos: one more than cores, fewer when
// the memory available holds fewer at two 50-megapixel photos each (at
// least one), and never more than photos.
int BatchWorkers(int items);

// Calls `work(i)` for every i in [0, count), each on one of `workers`
// workers (0: BatchWorkers(count)), this thread being one of them, and
// returns when all are done. The calls of different workers overlap; `work`
// must not throw.
void RunOnBatchWorkers(int count, const std::function<void(int)>& work, int workers = 0);
