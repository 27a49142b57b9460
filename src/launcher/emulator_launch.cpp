#include "emulator_launch.h"

namespace corvel {

QString buildEmulatorOptions(const AppState& state) {
    (void)state;
    return {};
}
void launchNexFile(AppState& state, const QString& folder, const QString& name) {
    (void)state;
    (void)folder;
    (void)name;
}
void openWithAssociation(AppState& state, const QString& folder, const QString& name) {
    (void)state;
    (void)folder;
    (void)name;
}
void launchNextZXOS(AppState& state) { (void)state; }
void launchCustom(AppState& state) { (void)state; }

} // namespace corvel
