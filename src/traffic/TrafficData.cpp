#include "traffic/TrafficData.h"

#include <cstring>
#include <new>

#include "host/ImportTable.h"
#include "host/PanelInterfaces.h"
#include "host/TrafficInfo.h"
#include "traffic/TrafficLimits.h"

namespace cs {

TrafficData::TrafficData() {
    timeVar_.token = kElapsedTimeToken;

    // A tool that stages snapshots without a host has no services table; the
    // object then simply has no time base and no traffic source.
    HostServices* services = hostServices();
    if (services == nullptr) {
        return;
    }
    services->refreshVariable(&timeVar_);
    timeVar_.previousValue = timeVar_.value;

    trafficProvider_ = services->findPanelCallback(kTrafficInfoName);
    if (trafficProvider_ == nullptr) {
        return;
    }
    // The host hands out its traffic interface through the panel-callback query.
    trafficInfo_ = reinterpret_cast<ITrafficInfo*>(trafficProvider_->queryByName(kTrafficInfoName));
    if (trafficInfo_ == nullptr) {
        return;
    }

    // Ids are resolved once; whatever the host answers (even for a name it
    // does not know) is used unchanged from then on.
    varLatitude_ = trafficInfo_->variableIdByName("PLANE LATITUDE");
    varLongitude_ = trafficInfo_->variableIdByName("PLANE LONGITUDE");
    varAltitude_ = trafficInfo_->variableIdByName("PLANE ALTITUDE");
    varIndicatedAltitude_ = trafficInfo_->variableIdByName("INDICATED ALTITUDE");
    varVelocityY_ = trafficInfo_->variableIdByName("VELOCITY WORLD Y");
    varVelocityZ_ = trafficInfo_->variableIdByName("VELOCITY WORLD Z");
    varVelocityX_ = trafficInfo_->variableIdByName("VELOCITY WORLD X");
    varHeadingTrue_ = trafficInfo_->variableIdByName("PLANE HEADING DEGREES TRUE");
    varAtcId_ = trafficInfo_->variableIdByName("ATC ID");
    varEngCombustion_ = trafficInfo_->variableIdByName("ENG COMBUSTION");
    varIsUserSim_ = trafficInfo_->variableIdByName("IS USER SIM");
    varAltAboveGround_ = trafficInfo_->variableIdByName("PLANE ALT ABOVE GROUND");

    unitFeet_ = trafficInfo_->unitIdByName("FEET");
    unitBool_ = trafficInfo_->unitIdByName("BOOL");
    unitDegrees_ = trafficInfo_->unitIdByName("DEGREES");
    unitKnots_ = trafficInfo_->unitIdByName("KNOTS");
    unitFeetPerMinute_ = trafficInfo_->unitIdByName("FEET PER MINUTE");
}

TrafficData::~TrafficData() {
    delete[] records_;
    records_ = nullptr;
}

void TrafficData::setDisplayThresholds(double otherMinRAlt, double otherAboveAlt,
                                       double otherBelowAlt, double proximityRange,
                                       double proximityAboveAlt, double proximityBelowAlt) {
    thresholds_.otherMinRAlt = otherMinRAlt;
    thresholds_.otherAboveAlt = otherAboveAlt;
    thresholds_.otherBelowAlt = otherBelowAlt;
    thresholds_.proximityRange = proximityRange;
    thresholds_.proximityAboveAlt = proximityAboveAlt;
    thresholds_.proximityBelowAlt = proximityBelowAlt;
}

void TrafficData::readRecord(TrafficRecord& record, int32_t objectId) {
    if (trafficInfo_ == nullptr || objectId == 0) {
        return;
    }
    std::memset(&record, 0, sizeof record);
    record.objectId = objectId;
    record.threatLevel = threat::Hidden;

    trafficInfo_->readNumber(objectId, varLatitude_, unitDegrees_, &record.latitude, 1);
    trafficInfo_->readNumber(objectId, varLongitude_, unitDegrees_, &record.longitude, 1);

    if (trafficInfo_->modeQuery() != 0) {
        // Position-only traffic: true altitude, the host's name and the
        // heading; speeds are derived from successive snapshots later.
        trafficInfo_->readNumber(objectId, varAltitude_, unitFeet_, &record.altitude, 1);
        copyBoundedName(record.atcId, trafficInfo_->aircraftName(objectId));
        record.engineCombustion = 1.0;
        record.isUserSim = 0.0;
        record.verticalSpeed = 0.0;
        record.velocityNorth = 0.0;
        record.velocityEast = 0.0;
        record.radAlt = 0.0;
        trafficInfo_->readNumber(objectId, varHeadingTrue_, unitDegrees_, &record.trackAngle, 1);
        return;
    }

    trafficInfo_->readNumber(objectId, varIndicatedAltitude_, unitFeet_, &record.altitude, 1);
    trafficInfo_->readString(objectId, varAtcId_, record.atcId, kAtcIdLength, 0);
    // The host was given room for ten characters; the last byte is ours and
    // keeps the text terminated whatever the host wrote.
    record.atcId[kAtcIdLength] = '\0';
    trafficInfo_->readNumber(objectId, varEngCombustion_, unitBool_, &record.engineCombustion, 1);
    trafficInfo_->readNumber(objectId, varIsUserSim_, unitBool_, &record.isUserSim, 1);
    trafficInfo_->readNumber(objectId, varVelocityY_, unitFeetPerMinute_, &record.verticalSpeed, 1);
    trafficInfo_->readNumber(objectId, varVelocityZ_, unitKnots_, &record.velocityNorth, 1);
    trafficInfo_->readNumber(objectId, varVelocityX_, unitKnots_, &record.velocityEast, 1);
    trafficInfo_->readNumber(objectId, varAltAboveGround_, unitFeet_, &record.radAlt, 1);
}

bool TrafficData::setSnapshot(const TrafficRecord* records, int32_t count) {
    if (count < 0 || (count > 0 && records == nullptr) ||
        !fitsIn32Bits(static_cast<uint64_t>(count), sizeof(TrafficRecord))) {
        return false;
    }
    TrafficRecord* copy = nullptr;
    if (count > 0) {
        copy = new (std::nothrow) TrafficRecord[static_cast<size_t>(count)];
        if (copy == nullptr) {
            return false;
        }
        std::memcpy(copy, records, sizeof(TrafficRecord) * static_cast<size_t>(count));
    }
    delete[] records_;
    records_ = copy;
    recordCount_ = count;
    return true;
}

}  // namespace cs
