#pragma once
// What a long report tells about itself while it runs: the step it is in and
// the rows counted so far. Called on the thread that computes the report;
// the window's worker passes it on to the window.

#include <QString>
#include <functional>

namespace products {

using TProgress = std::function<void(const QString& step, int rows)>;

} // namespace products
