#pragma once
// The concrete option classes, one per value type.

#include <cstdint>
#include <string>

#include "dhcp_base/CBooleanIO.h"
#include "dhcp_base/CDNSNameIO.h"
#include "dhcp_base/CEncodedIO.h"
#include "dhcp_base/CEndpointIO.h"
#include "dhcp_base/CExpressionIO.h"
#include "dhcp_base/CFixedIO.h"
#include "dhcp_base/CHexStoreIO.h"
#include "dhcp_base/CIPAddressIO.h"
#include "dhcp_base/CNumericIO.h"
#include "dhcp_base/COptionStore.h"
#include "dhcp_base/CProtoControlIO.h"
#include "dhcp_base/CStorageOption.h"
#include "dhcp_base/CStringIO.h"
#include "dhcp_base/CTimeTIO.h"
#include "dhcp_base/CVarbindIO.h"

using C8BitOption = CStorageOption<std::uint8_t, CNumericIO<std::uint8_t, 1>, COptionType::ot_8bit>;
using C16BitOption =
    CStorageOption<std::uint16_t, CNumericIO<std::uint16_t, 2>, COptionType::ot_16bit>;
using C24BitOption =
    CStorageOption<std::uint32_t, CNumericIO<std::uint32_t, 3>, COptionType::ot_24bit>;
using C32BitOption =
    CStorageOption<std::uint32_t, CNumericIO<std::uint32_t, 4>, COptionType::ot_32bit>;
using C64BitOption =
    CStorageOption<std::uint64_t, CNumericIO<std::uint64_t, 8>, COptionType::ot_64bit>;
using CStringOption = CStorageOption<std::string, CStringIO, COptionType::ot_string>;
using CIPAddressOption = CStorageOption<nuv::CIPAddress, CIPAddressIO, COptionType::ot_ipaddress>;
using CBooleanOption = CStorageOption<bool, CBooleanIO, COptionType::ot_boolean>;
using CTimeOption = CStorageOption<nuv::CTimeT, CTimeTIO, COptionType::ot_time>;
using CHexStoreOption = CStorageOption<nuv::CHexStore, CHexStoreIO, COptionType::ot_byte_sequence>;
using CSubEncodedOption = CStorageOption<COption::Ptr, CSubEncodedIO, COptionType::ot_subencoded>;
using CDNSNameOption = CStorageOption<std::string, CDNSNameIO, COptionType::ot_dnsname>;
using CExpressionOption =
    CStorageOption<nuv::CExpression, CExpressionIO, COptionType::ot_expression>;
using CProtoControlOption = CStorageOption<std::uint8_t, CProtoControlIO, COptionType::ot_control>;
using CFixedOption = CStorageOption<COption::Ptr, CFixedIO, COptionType::ot_fixed_offset>;
using CVarbindOption = CStorageOption<CVarbind, CVarbindIO, COptionType::ot_snmp_oid>;
using CEndpointOption = CStorageOption<nuv::CEndpoint, CEndpointIO, COptionType::ot_ip_endpoint>;
// "topencoded": COptionStore.
