#pragma once
// The controllers the gateway is built on. They share one console; only the name in the
// main prompt tells them apart.

#include <QString>
#include <optional>

namespace kv::sim {

// Foreign is a controller with the same console that the utility does not configure, for
// trying the utility's refusal.
enum class ControllerModel { Q5308RT, VMar5308RtLan, Klt400, Foreign };

// The name the controller prints in its main prompt, e.g. "q5308RT".
QString ModelName(ControllerModel model);
// The model named exactly `name`, if any.
std::optional<ControllerModel> ModelFromName(const QString& name);

}  // namespace kv::sim
