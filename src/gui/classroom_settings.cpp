#include "classroom_settings.h"

#include <QSettings>
#include <QString>

#include "app_settings.h"

namespace kelno {

namespace {

const QString kExplainShort = QStringLiteral("ExplainShort");
const QString kPredictMode = QStringLiteral("PredictMode");
const QString kShowPotentials = QStringLiteral("ShowPotentials");

bool Flag(const QSettings& store, const QString& key, bool fallback) {
    return store.value(key, fallback).toBool();
}

}  // namespace

ClassroomOptions ClassroomSettings::Read() {
    ClassroomOptions options;
    options.explainShort = true;
    if (!AppSettings::FileUsable()) {
        return options;
    }
    QSettings store(AppSettings::kOrganization, AppSettings::kApplication);
    if (store.status() != QSettings::NoError) {
        return options;
    }
    store.beginGroup(QString::fromUtf8(kGroup));
    options.explainShort = Flag(store, kExplainShort, options.explainShort);
    options.hideReadings = Flag(store, kPredictMode, options.hideReadings);
    options.showPotentials = Flag(store, kShowPotentials, options.showPotentials);
    return options;
}

void ClassroomSettings::Write(const ClassroomOptions& options) {
    if (!AppSettings::FileUsable()) {
        return;
    }
    QSettings store(AppSettings::kOrganization, AppSettings::kApplication);
    store.beginGroup(QString::fromUtf8(kGroup));
    store.setValue(kExplainShort, options.explainShort);
    store.setValue(kPredictMode, options.hideReadings);
    store.setValue(kShowPotentials, options.showPotentials);
}

}  // namespace kelno
