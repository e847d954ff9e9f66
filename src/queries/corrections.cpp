#include "queries/corrections.h"

#include "core/schema.h"
#include "core/text.h"
#include "ui/prompter.h"

namespace queries {

UnitCorrections::UnitCorrections(data::DataSet& units) : QObject(&units), units_(units) {
    // Entering editing the row still holds what was read: keep that to tell
    // typed values from untouched ones.
    connect(&units_, &data::DataSet::stateChanged, this, [this] {
        if (units_.state() != data::State::Edit) {
            read_.clear();
        } else if (read_.empty()) {
            for (int f = 0; f < units_.fieldCount(); ++f)
                read_.push_back(units_.value(f));
        }
    });
    units_.beforePost = [this](data::DataSet& l) { tidy(l); };
}

void UnitCorrections::tidy(data::DataSet& units) {
    const QString table = QStringLiteral("hwgl");
    for (int f = 0; f < units.fieldCount(); ++f) {
        if (units.field(f).lookup)
            continue;
        const db::Value v = units.value(f);
        const QString* text = v.ifText();
        if (!text || (f < static_cast<int>(read_.size()) && v == read_[f]))
            continue;
        const QString stored = core::trimmed(*text);
        if (stored != *text || stored.isEmpty())
            units.setValue(f, db::textOrNull(stored));
        if (const QString refusal = core::schema::refusal(table, units.field(f).name, stored); !refusal.isEmpty()) {
            ui::prompter().message(refusal);
            throw data::Abort();
        }
    }
}

} // namespace queries
