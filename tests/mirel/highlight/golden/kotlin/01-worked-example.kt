package mirel

import kotlinx.serialization.*
import kotlinx.serialization.json.*
import kotlinx.serialization.internal.*

@Serializable
data class Unknown (
  val id: Long,

  @SerialName("user_name")
  val userName: String,

  val profile: Profile,
  val tags: List<String>,
  val items: List<Item>,
  val note: Any? = null
) {
  @Serializable
  data class Profile (
    val age: Long
  )

  @Serializable
  data class Item (
    val n: Double
  )
}
