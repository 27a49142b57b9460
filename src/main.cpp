#include "core/startup.h"
#include "ui/operations.h"

int main() { return corvel::runApplication(corvel::standardOperations()); }
