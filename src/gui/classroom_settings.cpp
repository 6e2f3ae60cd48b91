#include "classroom_settings.h"

#include <QSettings>
#include <QString>

#include "app_settings.h"

namespace kelno {

namespace {

const QString kExplainShort = QStringLiteral("ExplainShort");
const QString kPredictMode = QStringLiteral("PredictMode");
const QString kShowPotentials = QStringLiteral("ShowPotentials");
const QString kMarkUnjoinedEnds = QStringLiteral("MarkUnjoinedEnds");
const QString kWarnLargeCurrent = QStringLiteral("WarnLargeCurrent");

bool Flag(const QSettings& store, const QString& key, bool fallback) {
    return store.value(key, fallback).toBool();
}

}  // namespace

ClassroomOptions ClassroomSettings::Read() {
    ClassroomOptions options;
    options.explainShort = true;
    options.markUnjoinedEnds = true;
    options.warnLargeCurrent = true;
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
    options.markUnjoinedEnds = Flag(store, kMarkUnjoinedEnds, options.markUnjoinedEnds);
    options.warnLargeCurrent = Flag(store, kWarnLargeCurrent, options.warnLargeCurrent);
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
    store.setValue(kMarkUnjoinedEnds, options.markUnjoinedEnds);
    store.setValue(kWarnLargeCurrent, options.warnLargeCurrent);
}

}  // namespace kelno
