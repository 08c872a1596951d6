#pragma once
// The console's wizards, run by their host names: printing the active grid,
// price labels, and the retail turnover book (another module's; a stand-in).

#include "Tarvexinterfaces.h"

#include <QList>
#include <QString>

class QTableView;

namespace tarvex {

struct PrintJob;

// The model columns a grid shows, in the order the user sees them: hidden
// sections left out, moved sections where they were moved to.
QList<int> visibleColumnsInVisualOrder(const QTableView& grid);

// The print job of a grid: display texts of its visible columns in visual
// order, title and header lines from "title:...;header:...".
PrintJob printJobFromGrid(const QTableView& grid, const QString& parameters);

// Previews the grid for printing and saving as PDF. Without a grid (or a
// model) the user is told that there is nothing to print.
void runPrintWizard(QTableView* grid, const QString& parameters);

// Previews the price labels asked for by
// "productids:..;productquantities:..;documentnumber:..;warehouseid:..",
// with the products' data from the module that offers IPriceLabelService
// through the console. When none of the products is found, or no module
// offers the service, the user is told so instead.
void runPriceLabelWizard(IConsole* console, const QString& parameters);

// Tells the user which warehouse's book was asked for ("warehouse:NAME").
void runRetailBookWizard(const QString& parameters);

// Runs the wizard with the given host name; false for a name it does not know.
bool runWizard(const QString& name, const QString& parameters, QTableView* activeGrid, IConsole* console);

} // namespace tarvex
