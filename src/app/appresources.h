#pragma once

/// Makes the main window's pictures (":/app/...") available. The resources of a static
/// library are linked only when something names them; every user calls this first.
void initAppResources();
