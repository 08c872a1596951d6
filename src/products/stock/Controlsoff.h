#pragma once
// Keeps a dataset's controls quiet while a report fills it, and lets them
// show the result however the filling ends.

#include "DataSet.h"

namespace products {

class TControlsOff {
public:
    explicit TControlsOff(tarvex::DataSet& dataSet) : m_dataSet(dataSet) { m_dataSet.disableControls(); }
    ~TControlsOff() { m_dataSet.enableControls(); }
    TControlsOff(const TControlsOff&) = delete;
    TControlsOff& operator=(const TControlsOff&) = delete;

private:
    tarvex::DataSet& m_dataSet;
};

} // namespace products
