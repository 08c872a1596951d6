#pragma once
// tarvex-stress: several workstations (processes) saving new products on one
// server at once; see stress_main.cpp.

#include "Connection.h"

#include <QString>

namespace stress {

struct WorkerConfig {
    tarvex::ConnectionSettings settings;
    int worker = 0;
    int saves = 0;        // 0: until the stop file appears
    QString kind;         // code, barcode, plu, group, variant or mixed
    int thinkMs = 0;      // pause between the generated values and the save
    qint64 startAt = 0;   // epoch ms at which every worker begins
    QString journal;      // one line per committed save: name, id
    QString stopFile;
    QString tag;          // names of this run's products begin with it
};

// Runs one workstation; prints "saved refused abandoned". Returns 0 on success.
int runWorker(const WorkerConfig& config);

} // namespace stress
