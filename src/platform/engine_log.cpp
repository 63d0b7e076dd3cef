#include "platform/engine_log.h"

std::ofstream EngineLog(ENGINE_LOG_NAME, std::ios::out | std::ios::trunc);
