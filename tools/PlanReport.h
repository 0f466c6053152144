#pragma once

class CHrplDoc;
class CJsonWriter;

// Writes the JSON object that `qlntool report` prints for a loaded plan.
void writePlanReport(CHrplDoc& doc, CJsonWriter& out);
