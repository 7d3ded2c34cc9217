#include "core/EngineStep.h"

#include "core/OptionsSnapshot.h"

void runEngineStep(const std::function<void()>& work, const std::function<void(const KestraneError&)>& failed)
{
    try {
        work();
    } catch (const KestraneError& failure) {
        if (isDatabaseFailure(failure))
            throw;
        failed(failure);
    } catch (const OptionsSnapshot::UnknownName& missing) {
        failed(KestraneError(ErrorNumber::ItemNotFound, QString::fromStdString(missing.what())));
    }
}
