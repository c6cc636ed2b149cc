#include "sim/ControllerModel.h"

#include <array>

namespace kv::sim {

namespace {

constexpr std::array AllModels = {ControllerModel::Q5308RT, ControllerModel::VMar5308RtLan,
                                  ControllerModel::Klt400, ControllerModel::Foreign};

}  // namespace

QString ModelName(ControllerModel model) {
    switch (model) {
        case ControllerModel::Q5308RT:
            return QStringLiteral("q5308RT");
        case ControllerModel::VMar5308RtLan:
            return QStringLiteral("vMAR-5308RT_LAN");
        case ControllerModel::Klt400:
            return QStringLiteral("KLT-400");
        case ControllerModel::Foreign:
            return QStringLiteral("MX-2100");
    }
    return {};
}

std::optional<ControllerModel> ModelFromName(const QString& name) {
    for (ControllerModel model : AllModels) {
        if (ModelName(model) == name) return model;
    }
    return std::nullopt;
}

}  // namespace kv::sim
