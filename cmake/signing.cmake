# Signing setup.exe with the vendor's certificate (Authenticode, osslsigncode),
# right after it is linked, when a certificate is given; otherwise the program
# stays unsigned. The uninstaller (OrvUnInst.exe) and its temporary copy are
# copies of this one file, so its signature covers them too.
#
#   cmake --preset windows-x86 -DORVELLE_SIGN_PKCS12=/secure/vendor.p12 \
#         -DORVELLE_SIGN_PASSWORD_FILE=/secure/vendor.pass \
#         -DORVELLE_SIGN_TIMESTAMP_URL=http://timestamp.example
#
# The cache holds where the password is, never the password itself.
set(ORVELLE_SIGN_PKCS12 "" CACHE FILEPATH
    "The vendor's code-signing certificate with its key (PKCS#12); empty: setup.exe is not signed")
set(ORVELLE_SIGN_PASSWORD_FILE "" CACHE FILEPATH
    "A file holding the PKCS#12 password")
set(ORVELLE_SIGN_PASSWORD_ENV "" CACHE STRING
    "The name of an environment variable holding the PKCS#12 password (set when building)")
set(ORVELLE_SIGN_TIMESTAMP_URL "" CACHE STRING
    "An RFC 3161 time-stamp server; empty: no time stamp")

# orv_sign_after_build(TARGET): signs the target's file after each link.
function(orv_sign_after_build target)
  if(NOT ORVELLE_SIGN_PKCS12)
    return()
  endif()
  if(NOT ORVELLE_SIGN_PASSWORD_FILE AND NOT ORVELLE_SIGN_PASSWORD_ENV)
    message(FATAL_ERROR "ORVELLE_SIGN_PKCS12 is set: set ORVELLE_SIGN_PASSWORD_FILE or ORVELLE_SIGN_PASSWORD_ENV too")
  endif()
  find_program(ORV_OSSLSIGNCODE osslsigncode)
  if(NOT ORV_OSSLSIGNCODE)
    message(FATAL_ERROR "Signing needs osslsigncode (scripts/install-deps.sh installs it)")
  endif()
  set(options --pkcs12 ${ORVELLE_SIGN_PKCS12} --description "Orvelle 6" --url ${ORVELLE_HOME_PAGE})
  if(ORVELLE_SIGN_PASSWORD_FILE)
    list(APPEND options --password-file ${ORVELLE_SIGN_PASSWORD_FILE})
  else()
    list(APPEND options --password-env ${ORVELLE_SIGN_PASSWORD_ENV})
  endif()
  if(ORVELLE_SIGN_TIMESTAMP_URL)
    list(APPEND options --timestamp-url ${ORVELLE_SIGN_TIMESTAMP_URL})
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/sign.sh ${options} $<TARGET_FILE:${target}>
    COMMENT "Signing ${target}"
    VERBATIM)
endfunction()
