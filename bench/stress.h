#pragma once
// tarvex-stress: several workstations (processes) saving, copying and
// grouping products on one server or cluster at once; see stress_main.cpp.

#include "Connection.h"

#include <QString>

namespace stress {

struct WorkerConfig {
    tarvex::ConnectionSettings settings;
    int worker = 0;
    int saves = 0;        // 0: until the stop file appears
    QString kind;         // code, barcode, plu, group, copy, variant or mixed
    int thinkMs = 0;      // pause between the generated values and the save
    qint64 startAt = 0;   // epoch ms at which every worker begins
    QString journal;      // one line per committed save: name, id
    QString stopFile;
    QString tag;          // names of this run's products begin with it
    bool reviveServer = false;  // wait for a killed server to come back, as the console restarts its own
};

// Runs one workstation; prints "saved messages given-up": saves done, presses
// that ended in a message, and saves, copies or joins still refused after
// five presses. Returns 0 when it ran to the end.
int runWorker(const WorkerConfig& config);

} // namespace stress
