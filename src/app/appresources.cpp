#include "app/appresources.h"

#include <QtGlobal>

// Outside any namespace, as the resource initialiser requires.
void initAppResources()
{
    Q_INIT_RESOURCE(app);
}
