#pragma once

#include "hamlib/HamlibModel.h"

#include <vector>

// Every radio model Hamlib knows, in the order of their numbers, as Hamlib
// describes them before any is opened (opening NET rigctl rewrites its
// model's description with the server's).
// Hamlib's state behind it is process-wide: the first Instance() loads all
// backends, switches Hamlib's own output to standard error off and sets the
// C library's LC_NUMERIC to "C" (see there). Call it on the UI thread before
// any thread uses Hamlib (HamlibLink does); after that the list is read-only
// and any thread may read it.
class HamlibModels {
public:
    static const HamlibModels& Instance();

    const std::vector<HamlibModel>& all() const { return models_; }
    // The model numbered `number`, or null when Hamlib knows none.
    const HamlibModel* Find(int number) const;

private:
    HamlibModels();

    std::vector<HamlibModel> models_;
};
