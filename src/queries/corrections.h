#pragma once

#include "data/dataset.h"

#include <QObject>

#include <vector>

namespace queries {

// Hand corrections of goods units: no rule of the stock applies, but what is
// typed is stored as everywhere else. A changed text is trimmed, an empty one
// is stored as null (as the outbound window stores an empty bar code or bill
// number), and a text too long for its column is refused with the field and its
// limit named; the row then stays pending. Values the user did not touch are
// written back as they were read.
class UnitCorrections : public QObject {
    Q_OBJECT
public:
    explicit UnitCorrections(data::DataSet& units);

private:
    void tidy(data::DataSet& units);

    data::DataSet& units_;
    std::vector<db::Value> read_; // the current row as read, while it is being edited
};

} // namespace queries
