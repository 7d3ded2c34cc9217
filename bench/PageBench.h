#pragma once
// The frame of a page bench: a headless application (unless a display is given), and for each
// installation size (the command line's, else 50,000 subscribers) a generated installation with
// its wizard, handed to the bench's own measuring; and the timing of a step the bench repeats.
#include "bench/BenchInstallations.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <memory>

// The total and the slowest of a repeated step, in microseconds.
struct RepeatedTimes {
    qint64 totalUs = 0;
    qint64 slowestUs = 0;
};

// `step` run `times` times, each after an untimed `prepare`.
inline RepeatedTimes timeRepeatedly(int times, const std::function<void()>& prepare, const std::function<void()>& step)
{
    RepeatedTimes measured;
    QElapsedTimer timer;
    for (int run = 0; run < times; ++run) {
        prepare();
        timer.start();
        step();
        const qint64 us = timer.nsecsElapsed() / 1000;
        measured.slowestUs = std::max(measured.slowestUs, us);
        measured.totalUs += us;
    }
    return measured;
}

// Runs `measure` on a wizard over each size's installation, writing to standard output; 1 when
// an installation cannot be opened.
inline int runPageBench(int argc, char** argv,
                        const std::function<void(BenchWizard& wizard, int size, QTextStream& out)>& measure)
{
    headlessUnlessDisplayed();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    for (const int size : benchSizes(argc, argv, {50000})) {
        QTemporaryDir dir;
        const std::unique_ptr<BenchWizard> wizard = openBenchWizard(dir.path(), size, out);
        if (!wizard)
            return 1;
        measure(*wizard, size, out);
    }
    return 0;
}
