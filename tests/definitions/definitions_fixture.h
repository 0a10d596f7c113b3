// A simulated machine with the context, its data folder and the definitions state, and helpers that store
// definition files in encoded form.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "definitions/definition_state.h"
#include "definitions/line_code.h"
#include "platform/sim/sim_machine.h"
#include "platform/text_files.h"
#include "ui/headless_host.h"

namespace grimsweep {

class DefinitionsTest : public ::testing::Test {
protected:
    DefinitionsTest() : context(sim.View(), host) {
        context.EstablishDataFolder();
        context.messages.RegisterDefaults();
        sim.files.PutFolder(context.dataFolder);
    }

    // Stores plain lines as an encoded definition file in the data folder.
    void PutDefinitions(std::string_view name, const std::vector<std::string>& plainLines) {
        std::string bytes;
        for (const auto& line : plainLines) {
            bytes += EncodeDefinitionLine(line) + std::string(kCrLf);
        }
        sim.files.PutFile(context.DataFile(name), bytes);
    }

    sim::SimMachine sim;
    HeadlessHost host;
    Context context;
    DefinitionState definitions;
};

} // namespace grimsweep
