#pragma once

#include <nlohmann/json.hpp>

class CHrplDoc;

// The JSON object that `qlntool report` prints for a loaded plan.
nlohmann::ordered_json planReport(CHrplDoc& doc);
