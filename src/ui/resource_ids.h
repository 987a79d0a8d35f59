/* Resource ids of the plug-in; read by the resource script as well. */
#pragma once

#define ZV_IDI_PLUGIN 100
