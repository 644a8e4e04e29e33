package dev.example.data

import kotlinx.serialization.*
import kotlinx.serialization.json.*
import kotlinx.serialization.internal.*

@Serializable
data class Profile (
  var age: Long
)

@Serializable
data class Unknown (
  @SerialName("user_id")
  var userID: Long,

  @SerialName("home_url")
  var homeURL: URL,

  var profile: Profile? = null,
  var aliases: List<String>? = null,
  var scores: List<Double?>,
  var createdAt: Date
)
